#!/usr/bin/env bash
# Starts the real program under Xvfb and resizes from the headings with the
# mouse: a double click on column A's boundary (on its grid line and one pixel
# either side) fits A to a long text typed into A1 while A2 is selected; a drag
# of row 1's boundary (on its grid line and the two pixels above) makes the
# row taller. After each change Undo must put the headings back as well as
# the grid (screenshots heading_fit.png, heading_row.png, heading_undone.png).
# Arguments: the quorvin binary and the build folder (the screenshots go there).
source "$(dirname "$0")/app_script.bash"
start_session 1024x768

# black_rows FILE X FROM: the rows (from FROM down) where column X is black.
black_rows() {
  convert "$out/$1" -crop "1x$((600 - $3))+$2+$3" txt:- |
    awk -F'[,:]' -v from="$3" '/#000000|black/ {print $2 + from}'
}
# black_columns FILE Y: the columns of row Y (from x = 40) that are black.
black_columns() {
  convert "$out/$1" -crop "600x1+40+$2" txt:- | awk -F'[,:]' '/#000000|black/ {print $1 + 40}'
}
first_of() { head -1; }
second_of() { sed -n 2p; }

start_app "$quorvin"
shoot_until heading_start.png has_document heading_start.png || fail "no untitled document"
top=$((24 + $(document_drop heading_start.png) + 20))
# The window shows before its headings are drawn.
headings_drawn() { [ -n "$(black_rows "$1" 10 "$top" | second_of)" ]; }
shoot_until heading_start.png headings_drawn heading_start.png || fail "no row headings found"
heading_line=$(black_rows heading_start.png 10 "$top" | first_of)
row_line=$(black_rows heading_start.png 10 "$top" | second_of)
letters_y=$((heading_line - 6))
column_line=$(black_columns heading_start.png "$letters_y" | first_of)
[ -n "$column_line" ] || fail "no column boundary found"

# A long text in A1; Return moves the selection to A2.
xdotool mousemove --window "$window" $((column_line - 30)) $((row_line - 6)) click 1
xdotool type --delay 30 "a rather long text that needs a wide column"
xdotool key Return

column_line_now() { black_columns "$1" "$letters_y" | first_of; }
row_line_now() { black_rows "$1" 10 "$((heading_line + 1))" | first_of; }
fitted() { local at; at=$(column_line_now "$1"); [ -n "$at" ] && [ "$at" -gt $((column_line + 100)) ]; }
column_back() { [ "$(column_line_now "$1")" = "$column_line" ]; }
taller() { local at; at=$(row_line_now "$1"); [ -n "$at" ] && [ "$at" -ge $((row_line + 8)) ]; }
row_back() { [ "$(row_line_now "$1")" = "$row_line" ]; }

for dx in -1 0 1; do
  xdotool mousemove --window "$window" $((column_line + dx)) "$letters_y"
  xdotool click --repeat 2 --delay 80 1
  shoot_until heading_fit.png fitted heading_fit.png || fail "a double click at $dx from the boundary did not fit column A"
  xdotool key ctrl+z
  shoot_until heading_undone.png column_back heading_undone.png ||
    fail "undo left the column headings at $(column_line_now heading_undone.png), not $column_line"
done

for dy in -2 -1 0; do
  from=$((row_line + dy))
  mark_screen
  xdotool mousemove --window "$window" 10 "$from"
  sleep 0.2
  xdotool mousedown 1
  for step in 3 6 9 12; do
    xdotool mousemove --window "$window" 10 $((from + step))
    sleep 0.1
  done
  await_change "dragging row 1's boundary"
  xdotool mouseup 1
  shoot_until heading_row.png taller heading_row.png || fail "a drag at $dy from row 1's boundary did not resize it"
  xdotool key ctrl+z
  shoot_until heading_undone.png row_back heading_undone.png || fail "undo left row 1's heading resized"
done

echo "heading resize: ok"
