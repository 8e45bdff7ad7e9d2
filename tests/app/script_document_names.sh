#!/usr/bin/env bash
# Documents named beyond Mac Roman and beyond the record's 63 bytes, read
# through the event socket of the real program under Xvfb: qvsend reads each
# document's name whole, in UTF-8, and the name read addresses its document;
# a window's name reads in its script. A formula set with its parenthesis left
# open is refused for the missing parenthesis (screenshot
# script_document_names.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
start_sender_session "$quorvin" 1024x768
work=$(mktemp -d)
cyrillic="Москва.csv"
long="a document whose name is much longer than sixty-three letters, as names may be.csv"
printf 'Moscow,1\r\n' > "$work/$cyrillic"
printf 'Long,2\r\n' > "$work/$long"

start_app "$quorvin" "$work/$cyrillic" "$work/$long"
wait_for 60 documents_open 2 || fail "the two documents are not reachable through $socket"
shoot script_document_names.png

names=$(send get "name of document 1" && send get "name of document 2") || fail "the names were not read"
grep -qxF "$cyrillic" <<<"$names" || fail "the Cyrillic name reads as: $names"
grep -qxF "$long" <<<"$names" || fail "the long name reads as: $names"
[ "$(send get "value of cell A1 of document \"$cyrillic\"")" = Moscow ] || fail "the Cyrillic name does not address its document"
[ "$(send get "value of cell A1 of document \"$long\"")" = Long ] || fail "the long name does not address its document"
[ "$(send get "value of cell A1 of document \"МОСКВА.CSV\"")" = Moscow ] || fail "a name in other case does not address its document"
[ "$(send get "name of window 1 of document \"$cyrillic\"")" = "$cyrillic:Layer 1" ] ||
  fail "the Cyrillic document's window name reads as: $(send get "name of window 1 of document \"$cyrillic\"")"

why=$(send set "formula of cell B1 of document 1" "=SUM(" 2>&1 >/dev/null) && fail "a formula without its closing parenthesis was stored"
grep -q "closing parenthesis is missing" <<<"$why" || fail "the open parenthesis was refused as: $why"

quit_without_saving
echo "document names through the socket: ok"
