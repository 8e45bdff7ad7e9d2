#!/usr/bin/env bash
# A formula typed with the real program under Xvfb over a cell that holds a
# Cyrillic text: A1 holds "москва" (set through the event socket), the user
# clicks it, types ="été" and Return; A1 answers "été" through the socket,
# its formula keeps its letters, and the saved CSV holds the formula
# (screenshots formula_over_cyrillic_*.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
start_socket_session "$quorvin" 1024x768
key_delay=60

printf 'y\r\n' > "$work/typed.csv"
start_socket_app formula_over_cyrillic_open.png "$work/typed.csv"

value_of() { send get "value of cell A1 of document 1"; }
send set "value of cell A1 of document 1" "москва" >/dev/null || fail "A1 not set"
[ "$(value_of)" = "москва" ] || fail "A1 was not stored as sent: $(value_of)"

# A document's cells: columns 76 pixels wide from 33, rows 17 high from 58
# below the close box's top.
changes_screen "a click on A1" click_at $((33 + 38)) $((58 + dy + 8))
bind_letters "é"
changes_screen "typing the formula" typed '="été"'
shoot formula_over_cyrillic_typed.png
changes_screen "Return" keys Return
shoot formula_over_cyrillic_entered.png
[ "$(value_of)" = "été" ] || fail "A1 answers \"$(value_of)\", not \"été\""
[ "$(send get "formula of cell A1 of document 1")" = '="été"' ] ||
  fail "A1's formula is \"$(send get "formula of cell A1 of document 1")\""

keys ctrl+s
await_saved "$work/typed.csv"
[ "$(tr -d '\r' < "$work/typed.csv")" = '"=""été"""' ] || fail "the CSV holds: $(tr '\r\n' '||' < "$work/typed.csv")"

quit_without_saving
echo "formula over cyrillic: ok"
