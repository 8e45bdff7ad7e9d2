#!/usr/bin/env bash
# The entry line shows the active cell of the front document, with the real
# program under Xvfb: after a script selects A1 while the user is on A2, a
# click at the end of the entry line, " Q3" and Return add to A1's own text;
# and when a document is closed behind the Find window, the entry line shows
# the cell of the document left in front (screenshots entry_line_front_cell_*.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
start_socket_session "$quorvin" 1024x768

printf 'Budget 2024,x\nParis,y\n' > "$work/budget.csv"
start_socket_app entry_line_front_cell_open.png "$work/budget.csv"
key_delay=40

# Cells: columns 76 pixels wide from 33, rows 17 high from 58 below the close
# box's top. The entry line's text starts at x 142, its empty end lies at (600, 57).
cell_y() { echo $((58 + dy + 17 * $1 + 8)); }
entry_line="200x14+142+50"
entry_blank() { [ "$(dark_pixels "$1" "$entry_line")" -eq 0 ]; }
entry_shows_text() { [ "$(dark_pixels "$1" "$entry_line")" -gt 10 ]; }
value_of() { send get "value of cell $1 of document 1"; }
holds() { [ "$(value_of "$1" 2>/dev/null)" = "$2" ]; }

changes_screen "a click on A2" click_at 71 "$(cell_y 1)"
shoot entry_line_front_cell_a2.png
send select "range A1" || fail "A1 not selected"
changes_screen "a click into the entry line" click_at 600 57
typed " Q3"
keys Return
wait_for 20 holds A1 "Budget 2024 Q3" || fail "A1 holds \"$(value_of A1)\" after an entry through the entry line"
holds A2 Paris || fail "A2 holds \"$(value_of A2)\""
shoot entry_line_front_cell_typed.png

# A new empty document in front, the Find window over both; the new one's
# close box (behind the Find window's left edge) closes it.
send create document >/dev/null || fail "no new document"
wait_for 20 documents_open 2 || fail "the new document did not open"
shoot_until entry_line_front_cell_new.png entry_blank entry_line_front_cell_new.png ||
  fail "the entry line does not show the new document's empty A1"
keys ctrl+f
find_in_front() { case "$(pixel "$1" 113 126)" in [C-F]?[0-6]?[0-6]?) return 0;; *) return 1;; esac; }
shoot_until entry_line_front_cell_find.png find_in_front entry_line_front_cell_find.png || fail "no Find window"
click_at 23 104
wait_for 20 documents_open 1 || fail "the new document did not close"
shoot_until entry_line_front_cell_closed.png entry_shows_text entry_line_front_cell_closed.png ||
  fail "the entry line still shows the closed document's cell"
# The reference box names A2, where Return moved the active cell, as when
# A2 was clicked (its picture then, entry_line_front_cell_a2.png).
reference_box=90x14+14+50
crop_sum() { convert "$out/$1" -crop "$reference_box" +repage rgb:- | md5sum; }
[ "$(crop_sum entry_line_front_cell_closed.png)" = "$(crop_sum entry_line_front_cell_a2.png)" ] ||
  fail "the reference box does not name A2"

quit_without_saving
echo "entry line front cell: ok"
