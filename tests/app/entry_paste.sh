#!/usr/bin/env bash
# Text another program puts on the system clipboard (UTF8_STRING) pasted
# with the real program under Xvfb into a Japanese, a Cyrillic and a Greek
# cell being edited, in the entry line and in the cell itself: each cell
# answers through the event socket its text and exactly what was pasted, in
# the scripts that spell it; a character no installed script spells is asked
# about first, and Cancel pastes nothing; copied from the entry line, the
# text reaches other programs as it reads; a text of several scripts pasted
# onto a cell not being edited is kept whole (screenshots entry_paste_*.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
skip_without xclip
start_socket_session "$quorvin" 1024x768

cells=("東京" "Москва" "Αθήνα")
pastes=(" café ábc" " столица" " 大阪" "mixed 日本 Ελλάδα")
key_delay=40
# Row r holds cells[r] in each column: column 2t takes pastes[t] through the
# entry line, column 2t+1 in the cell itself.
# Rows 4 and 5 hold a cell each for the last two checks.
{
  for cell in "${cells[@]}"; do
    printf '%s,%s,%s,%s,%s,%s,%s,%s\r\n' "$cell" "$cell" "$cell" "$cell" "$cell" "$cell" "$cell" "$cell"
  done
  printf '東京\r\nМосква\r\n'
} > "$work/cells.csv"
start_socket_app entry_paste_open.png "$work/cells.csv"

# A document's cells: columns 76 pixels wide from 33, rows 17 high from 58
# below the close box's top; the entry line's empty end lies at (600, 57).
cell_x() { echo $((33 + 76 * $1)); }
cell_y() { echo $((58 + dy + 17 * $1 + 8)); }
click_cell() { changes_screen "a click on a cell" click_at $(($(cell_x "$2") + 38)) "$(cell_y "$1")"; }
# Editing begins with the caret after the cell's text: in the entry line, or
# in the cell by a double click to the right of its text.
edit_in_entry_line() {
  click_cell "$1" "$2"
  changes_screen "a click into the entry line" click_at 600 57
}
edit_in_cell() {
  past_double_click_time
  click_cell "$1" "$2"
  past_double_click_time
  changes_screen "a double click into the cell" \
    xdotool mousemove $(($(cell_x "$2") + 70)) "$(cell_y "$1")" click --repeat 2 --delay 80 1
}
clipboard_is() { [ "$(xclip -selection clipboard -o 2>/dev/null)" = "$1" ]; }
another_program_copies() {
  printf '%s' "$1" | xclip -selection clipboard -t UTF8_STRING 2>/dev/null
  wait_for 10 clipboard_is "$1" || fail "xclip did not take the clipboard"
}
column_name() { printf "\\x$(printf '%x' $((65 + $1)))"; }
value_of() { send get "value of cell $1 of document 1"; }
holds() { [ "$(value_of "$1" 2>/dev/null)" = "$2" ]; }

for t in "${!pastes[@]}"; do
  another_program_copies "${pastes[t]}"
  for r in "${!cells[@]}"; do
    for how in entry_line cell; do
      column=$((2 * t)); [ "$how" = cell ] && column=$((column + 1))
      "edit_in_$how" "$r" "$column"
      changes_screen "the paste" keys ctrl+v
      [ "$t$r$how" = 00cell ] && shoot entry_paste_in_cell.png
      [ "$t$r$how" = 30entry_line ] && shoot entry_paste_entry_line.png
      changes_screen "Return" keys Return
      name=$(column_name "$column")$((r + 1))
      expected="${cells[r]}${pastes[t]}"
      wait_for 20 holds "$name" "$expected" ||
        fail "pasted into $name ${how/_/ }, \"${pastes[t]}\" gave \"$(value_of "$name")\", not \"$expected\""
    done
  done
done
shoot entry_paste_pasted.png

# A character no installed script spells is asked about; Cancel pastes nothing.
another_program_copies " 🙂"
edit_in_entry_line 3 0
changes_screen "the paste" keys ctrl+v
shoot entry_paste_unspelled.png
changes_screen "Cancel" keys Escape
changes_screen "typing" typed "!"
changes_screen "Return" keys Return
wait_for 20 holds A4 "東京!" || fail "after a cancelled paste and \"!\" typed, A4 holds \"$(value_of A4)\""

# Onto a cell not being edited, a text of several scripts is kept whole.
another_program_copies "mixed 日本 Ελλάδα"
click_cell 4 0
changes_screen "the paste" keys ctrl+v
wait_for 20 holds A5 "mixed 日本 Ελλάδα" || fail "pasted onto A5, the text became \"$(value_of A5)\""
shoot entry_paste_onto_cell.png

# Copied from the entry line, a text of several scripts reaches other
# programs as it reads.
edit_in_entry_line 0 0
keys ctrl+a ctrl+c
wait_for 20 clipboard_is "東京 café ábc" ||
  fail "copied from the entry line, A1 reaches other programs as \"$(xclip -selection clipboard -o 2>/dev/null)\""
changes_screen "Return" keys Return
quit_without_saving
echo "entry paste: ok"
