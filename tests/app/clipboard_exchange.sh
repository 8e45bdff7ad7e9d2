#!/usr/bin/env bash
# Text another program puts on the system clipboard pastes into cells: text
# there before start-up, text another program replaces while it holds the
# clipboard, and text copied elsewhere after the program's own copy; the
# program's own copy still pastes its cells, formulas and all. The saved
# document shows each paste (screenshots clipboard_exchange_*.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
skip_without xclip
start_converter_session "$quorvin" 1024x768

printf 'x\r\n' > "$work/one.csv"
make_document "$work/one.csv" "$work/one.qrv"

clipboard_is() { [ "$(xclip -selection clipboard -o 2>/dev/null)" = "$1" ]; }
# another_program_copies TEXT: xclip holds the clipboard until another program takes it.
another_program_copies() {
  printf '%s' "$1" | xclip -selection clipboard 2>/dev/null
  wait_for 10 clipboard_is "$1" || fail "xclip did not take the clipboard"
}

another_program_copies $'start\t1'
start_app "$quorvin" "$work/one.qrv"
await_document clipboard_exchange_open.png
# A new document's cells: columns 76 pixels wide from 33, rows 17 high from 58
# below the close box's top.
click_cell() { changes_screen "a click on a cell" click_at $((33 + 76 * $2 + 38)) $((58 + dy + 17 * $1 + 8)); }
key() { xdotool key --window "$window" --delay 30 "$@"; }
# Keys whose answer shows on the screen.
shown_key() { changes_screen "the keys $*" key "$@"; }

click_cell 1 1
shown_key ctrl+v
another_program_copies $'second\t2'
click_cell 3 1
shown_key ctrl+v
shoot clipboard_exchange_foreign.png

# The program's own copy: a formula pastes as a formula, moved with its cell.
click_cell 3 3
xdotool type --delay 40 '=C4*10'
shown_key Return
click_cell 3 3
key ctrl+c
copied() { ! clipboard_is $'second\t2'; }
wait_for 10 copied || fail "Ctrl-C did not put the cell on the clipboard"
click_cell 5 3
shown_key ctrl+v
# Another program copies after the program's own copy.
another_program_copies 'third'
click_cell 7 1
shown_key ctrl+v
shoot clipboard_exchange_pasted.png

key ctrl+s
await_saved "$work/one.qrv"
quit_app

"$sheetconv" "$work/one.qrv" "$work/out.csv" || fail "the converter cannot read the saved document"
rows=$(tr -d '\r' < "$work/out.csv" | paste -sd'|')
expected='x|,start,1||,second,2,=C4*10||,,,=C6*10||,third'
[ "$rows" = "$expected" ] || fail "the saved cells are not the pasted ones: '$rows'"
echo "clipboard exchange: ok"
