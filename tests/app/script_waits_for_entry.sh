#!/usr/bin/env bash
# A script does not move what the user is typing, with the real program under
# Xvfb: "hello" typed into A1 without Return, a script's select of C5, of a
# range, of a layer and of the document, and a new layer, are refused with
# their reason while the entry stays open; Return then stores "hello" in A1,
# C5 keeps "keep me", and the script's select of C5 goes through
# (screenshots script_waits_for_entry_*.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
start_socket_session "$quorvin" 1024x768
key_delay=40

printf ',,\r\n,,\r\n,,\r\n,,\r\n,,keep me\r\n' > "$work/kept.csv"
start_socket_app script_waits_for_entry_open.png "$work/kept.csv"

value_of() { send get "value of cell $1 of document 1"; }
holds() { [ "$(value_of "$1" 2>/dev/null)" = "$2" ]; }
holds C5 "keep me" || fail "C5 holds \"$(value_of C5)\" as opened"

# The entry line's text starts at x 142.
entry_line="200x14+142+50"
entry_shows_text() { [ "$(dark_pixels "$1" "$entry_line")" -gt 10 ]; }
typed hello
shoot_until script_waits_for_entry_typing.png entry_shows_text script_waits_for_entry_typing.png ||
  fail "the typed text does not show in the entry line"

why="A cell is being edited; finish the entry first."
# refused WHAT WORDS...: the request fails, giving the reason.
refused() {
  local what=$1 answer
  shift
  answer=$(send "$@" 2>&1) && fail "$what went through while a cell was being edited"
  [[ "$answer" == *"$why"* ]] || fail "$what was refused with \"$answer\""
}
refused "a select of C5" select "cell C5 of layer 1 of document 1"
refused "a select of B2:C3" select "range B2:C3 of document 1"
refused "a select of layer 1" select "layer 1 of document 1"
refused "a select of the document" select "document 1"
refused "a new layer" create layer "document 1"
[ "$(send count "layers of document 1")" = 1 ] || fail "a layer was added while a cell was being edited"
holds A1 "" || fail "A1 holds \"$(value_of A1)\" before Return"
shoot script_waits_for_entry_refused.png

keys Return
wait_for 20 holds A1 hello || fail "A1 holds \"$(value_of A1)\" after Return, not hello"
holds C5 "keep me" || fail "C5 holds \"$(value_of C5)\": the entry went into the cell the script selected"
shoot script_waits_for_entry_stored.png

# With the entry stored, the script selects C5 and the next entry goes there.
send select "cell C5 of layer 1 of document 1" >/dev/null || fail "C5 not selected once the entry was stored"
typed again
keys Return
wait_for 20 holds C5 again || fail "C5 holds \"$(value_of C5)\" after typing over the selected C5"
holds A1 hello || fail "A1 holds \"$(value_of A1)\""

quit_without_saving
echo "script waits for entry: ok"
