#!/usr/bin/env bash
# The Colors palette over several drawn objects in the real program under
# Xvfb: one oval filled red through the palette's Fill swatch, a second left
# as drawn; with both selected the Fill swatch shows neither colour but the
# grey frame of a mixed value (mixed_fill_swatch_*.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
source "$(dirname "$0")/drawing_tools.bash"
start_empty_document mixed_fill_swatch_open.png

open_tool_palette
draw_with "${oval_tool[@]}" 300 $((250 + dy)) 400 $((300 + dy))
draw_with "${oval_tool[@]}" 300 $((150 + dy)) 400 $((200 + dy))
# View > Palettes > Colors: the palette opens at the screen's right, its Fill
# swatch (the foreground square) at 889, 124.
submenu_choice 436 470 700 176 248
fill_swatch="10x8+884+120"
red=DD0806

# The red of the Fill swatch's grid chosen for the selected (upper) oval.
changes_screen "pressing the Fill swatch" xdotool mousemove 889 124 mousedown 1
shoot mixed_fill_swatch_grid.png
red_spot=$(convert "$out/mixed_fill_swatch_grid.png" -fill black +opaque "#$red" -fill white -opaque "#$red" -trim \
  -format "%[fx:floor(page.x+w/2)] %[fx:floor(page.y+h/2)]" info:)
read -r red_x red_y <<< "$red_spot"
glide 889 124 "$red_x" "$red_y"
changes_screen "choosing red" xdotool mouseup 1
swatch_red() { [ "$(colour_pixels "$1" "$red" "$fill_swatch")" -gt 40 ]; }
shoot_until mixed_fill_swatch_red.png swatch_red mixed_fill_swatch_red.png || fail "the Fill swatch does not show the oval's red"

# Shift and a press add the lower oval, filled as drawn.
xdotool keydown shift
changes_screen "adding the other oval" click_at 350 $((275 + dy))
xdotool keyup shift
# A mixed swatch is only a dotted frame: the palette's grey shows inside it.
# The palette follows the selection at idle, after the selection is drawn.
swatch_mixed() { ! swatch_red "$1" && [ "$(colour_pixels "$1" DDDDDD "$fill_swatch")" -gt 40 ]; }
if ! shoot_until mixed_fill_swatch_both.png swatch_mixed mixed_fill_swatch_both.png; then
  swatch_red mixed_fill_swatch_both.png && fail "with two ovals of different fills the Fill swatch shows the first one's red"
  fail "with two ovals of different fills the Fill swatch is not drawn mixed"
fi
quit_without_saving
echo "mixed fill swatch: ok"
