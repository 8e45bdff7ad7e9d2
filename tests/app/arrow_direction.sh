#!/usr/bin/env bash
# Arrows drawn with the tool palette's arrow tool in the real program under
# Xvfb, each from its start to where the mouse lets go: from right to left
# and up, and from left to right and down. Each arrow's head is at the end
# the mouse went to, not always at the right (arrow_direction_*.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
source "$(dirname "$0")/drawing_tools.bash"
start_empty_document arrow_direction_open.png
open_tool_palette
# ink_near FILE X Y: dark pixels in the 15 x 15 square around a point.
ink_near() { dark_pixels "$1" "15x15+$(($2 - 7))+$(($3 - 7))"; }
# head_at FILE X Y TAIL_X TAIL_Y: the arrowhead's filled triangle lies at the
# first point: far more ink there than at the plain tail.
head_at() { [ "$(ink_near "$1" "$2" "$3")" -gt $(($(ink_near "$1" "$4" "$5") + 12)) ]; }

# From right to left, rising.
draw_with "${arrow_tool[@]}" 520 $((240 + dy)) 300 $((160 + dy))
# From left to right, falling, below the first.
draw_with "${arrow_tool[@]}" 300 $((300 + dy)) 520 $((380 + dy))
# A click on a cell lets the arrows go, so that no handles cover their ends.
changes_screen "choosing a cell" click_at 150 $((420 + dy))
shoot arrow_direction_drawn.png
head_at arrow_direction_drawn.png 300 $((160 + dy)) 520 $((240 + dy)) ||
  fail "the arrow drawn from right to left has no head at its left end, where the mouse went"
head_at arrow_direction_drawn.png 520 $((380 + dy)) 300 $((300 + dy)) ||
  fail "the arrow drawn from left to right has no head at its right end"
quit_without_saving
echo "arrow direction: ok"
