#!/usr/bin/env bash
# A document that links to another offers to open it as it opens, in the real
# program under Xvfb: Summary's A1 is made to read Rates' A1 through the event
# socket and Summary is saved; opened alone at the next start it asks whether
# to open its linked documents (links_on_open_asked.png), Return answers Open,
# and Rates, changed on disk meanwhile, is read and its new value comes into
# Summary (links_on_open_opened.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
start_socket_session "$quorvin" 1024x768

printf '42\r\n' > "$work/rates.csv"
printf 'x\r\n' > "$work/summary.csv"
"$sheetconv" "$work/rates.csv" "$work/Rates.qrv" || fail "no Rates document"
"$sheetconv" "$work/summary.csv" "$work/Summary.qrv" || fail "no Summary document"

# The number of the open document whose A1 holds the text.
document_holding() {
  local n
  for n in 1 2; do
    [ "$(send get "value of cell A1 of layer 1 of document $n" 2>/dev/null)" = "$1" ] && { echo "$n"; return; }
  done
}

# The link is made while both documents are open, and Summary saved with it.
start_app "$quorvin" "$work/Rates.qrv" "$work/Summary.qrv"
wait_for 60 documents_open 2 || fail "the two documents did not open"
summary=$(document_holding x)
[ -n "$summary" ] || fail "Summary is not among the open documents"
send set "formula of cell A1 of document $summary" "='Rates.qrv'!A1" || fail "the link was not typed"
[ "$(send get "value of cell A1 of layer 1 of document $summary")" = 42 ] || fail "the link does not read Rates' A1"
send select "document $summary" >/dev/null || fail "Summary not brought to the front"
saved() { [ "$work/Summary.qrv" -nt "$work/summary.csv" ] && grep -q Rates.qrv "$work/Summary.qrv"; }
touch -d '1 minute ago' "$work/summary.csv" "$work/Summary.qrv"
keys ctrl+s
wait_for 60 saved || fail "Summary was not saved with its link"
quit_without_saving
printf '58\r\n' > "$work/rates.csv"
"$sheetconv" "$work/rates.csv" "$work/Rates.qrv" || fail "Rates not rewritten"

# Opened alone, Summary shows the value it was saved with and asks about its
# links; the alert's default is Open.
asked() { [ "$(pixel "$1" 512 300)" = EEEEEE ]; }
start_app "$quorvin" "$work/Summary.qrv"
shoot_until links_on_open_asked.png asked links_on_open_asked.png || fail "no question about the links"
keys Return
wait_for 60 documents_open 1 || fail "Summary is not reachable through $socket"
linked_value() { [ "$(send get "value of cell A1 of layer 1 of document 1")" = 58 ]; }
wait_for 60 linked_value || { shoot links_on_open_failed.png; fail "Summary's A1 did not take Rates' new value"; }
# A1 drawn again once the question has gone.
new_value_drawn() { ! asked "$1" && [ "$(dark_pixels "$1" 60x14+60+$((132 + dy)))" -gt 10 ]; }
dy=$(document_drop links_on_open_asked.png)
shoot_until links_on_open_opened.png new_value_drawn links_on_open_opened.png || fail "A1 does not show the new value"
quit_without_saving
echo "links on open: ok"
