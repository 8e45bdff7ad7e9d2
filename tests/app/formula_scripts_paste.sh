#!/usr/bin/env bash
# Formulas of several scripts in the real program under Xvfb: pasted from
# another program's clipboard (xclip), one whose texts no one script spells
# is kept as text, every letter as copied, with an alert saying so, and one
# of one script stays a formula. A typed formula that joins texts no one
# script spells raises its note once: a key typed while the note is up goes
# on to the sheet, and the entries after it bring the note back no more
# (screenshots formula_scripts_paste_*.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
skip_without xclip
start_socket_session "$quorvin" 1024x768
key_delay=60

printf 'x\r\n' > "$work/one.csv"
make_document "$work/one.csv" "$work/one.qrv"
start_socket_app formula_scripts_paste_open.png "$work/one.qrv"

clipboard_is() { [ "$(xclip -selection clipboard -o 2>/dev/null)" = "$1" ]; }
another_program_copies() {
  printf '%s' "$1" | xclip -selection clipboard 2>/dev/null
  wait_for 10 clipboard_is "$1" || fail "xclip did not take the clipboard"
}
# A document's cells: columns 76 pixels wide from 33, rows 17 high from 58
# below the close box's top.
click_cell() { changes_screen "a click on a cell" click_at $((33 + 76 * $2 + 38)) $((58 + dy + 17 * $1 + 8)); }
# An alert's box shows in the middle of the screen, its face light grey.
alert_shown() { [ "$(pixel "$1" 512 300)" = EEEEEE ]; }
alert_gone() { ! alert_shown "$1"; }
value_of() { send get "value of cell $1 of layer 1 of document 1" 2>/dev/null; }
cell_is() { [ "$(value_of "$1")" = "$2" ]; }

mixed='="東京"&"ü"'
another_program_copies "$mixed"$'\t''="東京"&"駅"'
click_cell 0 0
keys ctrl+v
shoot_until formula_scripts_paste_told.png alert_shown formula_scripts_paste_told.png ||
  fail "no alert told of the formula kept as text"
changes_screen "closing the alert" keys Return
wait_for 10 cell_is A1 "$mixed" || fail "A1 holds '$(value_of A1)', not the formula's text as copied"
cell_is B1 "東京駅" || fail "the formula of one script did not stay a formula: B1 holds '$(value_of B1)'"

# A join of Cyrillic and accented Greek, which no one script spells.
send set "value of cell A3 of layer 1 of document 1" "Москва" >/dev/null || fail "A3 not set"
send set "value of cell B3 of layer 1 of document 1" "Ελλάδα" >/dev/null || fail "B3 not set"
click_cell 2 2
typed '=A3&B3'
keys Return
shoot_until formula_scripts_paste_note.png alert_shown formula_scripts_paste_note.png ||
  fail "no note of the joined texts"
# Typed while the note is up; the Return that follows closes it.
typed '2'
keys Return
shoot_until formula_scripts_paste_closed.png alert_gone formula_scripts_paste_closed.png || fail "the note stayed up"
changes_screen "entering the kept key" keys Return
wait_for 10 cell_is C4 2 || fail "the 2 typed while the note was up was lost: C4 holds '$(value_of C4)'"
typed '5'
keys Return
wait_for 10 cell_is C5 5 || fail "C5 holds '$(value_of C5)'"
wait_for 30 screen_still || fail "the screen did not come to rest after the entry"
shoot formula_scripts_paste_after.png
alert_gone formula_scripts_paste_after.png || fail "the note came back after a later entry"
cell_is C5 5 || fail "a key went to a note that came back"

quit_without_saving
echo "formula scripts paste: ok"
