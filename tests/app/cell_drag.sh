#!/usr/bin/env bash
# Dragging cells with the real program under Xvfb: in a document holding 1 and
# 2 in A1:A2, the fill handle of A1:A2 dragged down to A5 continues the series,
# then the border of the filled range dragged two columns right moves it to
# C1:C5, as the saved document shows (screenshots cell_drag_*.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
start_converter_session "$quorvin" 1024x768

printf '1\r\n2\r\n' > "$work/two.csv"
make_document "$work/two.csv" "$work/two.qrv"

start_app "$quorvin" "$work/two.qrv"
await_document cell_drag_open.png
# Cell geometry of a new document's window: columns 76 pixels wide from 33,
# rows 17 pixels high from 58 below the close box's top.
column_left() { echo $((33 + 76 * $1)); }
row_top() { echo $((58 + dy + 17 * $1)); }
centre_x() { echo $(($(column_left "$1") + 38)); }
centre_y() { echo $(($(row_top "$1") + 8)); }

# drag X1 Y1 X2 Y2: the button held from one point to the other in small steps,
# until the program shows the drag.
drag() {
  mark_screen
  xdotool mousemove "$1" "$2" mousedown 1
  glide "$1" "$2" "$3" "$4"
  await_change "a drag"
}
drop() { changes_screen "a drop" xdotool mouseup 1; }

drag "$(centre_x 0)" "$(centre_y 0)" "$(centre_x 0)" "$(centre_y 1)"
drop
# The fill handle sits on the bottom-right corner of A2.
drag $(($(column_left 1) - 1)) $(($(row_top 2) - 1)) "$(centre_x 0)" "$(centre_y 4)"
shoot cell_drag_filling.png
drop
# Whether the right part of a cell, where numbers stand, shows text.
shows_number() { [ "$(dark_pixels "$1" "34x14+$(($(column_left "$2") + 40))+$(($(row_top "$3") + 1))")" -gt 4 ]; }
filled() { shows_number "$1" 0 4; }
shoot_until cell_drag_filled.png filled cell_drag_filled.png || fail "the fill handle did not fill A3:A5"

# The top edge of the selection A1:A5, dragged to C1.
drag "$(centre_x 0)" "$(row_top 0)" "$(centre_x 2)" "$(($(row_top 0) + 3))"
shoot cell_drag_moving.png
drop
moved() { shows_number "$1" 2 4 && ! shows_number "$1" 0 4; }
shoot_until cell_drag_moved.png moved cell_drag_moved.png || fail "the border drag did not move the cells"

xdotool key --window "$window" --delay 30 ctrl+s
await_saved "$work/two.qrv"
quit_app

read_saved_rows --values "$work/two.qrv"
rows=$(paste -sd' ' <<< "$saved_rows")
[ "$rows" = ",,1 ,,2 ,,3 ,,4 ,,5" ] || fail "the saved cells are not C1:C5 = 1 to 5: '$rows'"
echo "cell drag: ok"
