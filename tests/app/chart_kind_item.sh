#!/usr/bin/env bash
# Object > Chart Kind in the real program under Xvfb: open with cells
# selected, where it chooses the kind of the next chart, and dimmed with one
# or two drawn ovals selected, which no chart kind applies to
# (chart_kind_item_*.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
source "$(dirname "$0")/drawing_tools.bash"
start_empty_document chart_kind_item_open.png

# object_menu_shot FILE: a screenshot with the Object menu (title at x 385)
# pulled down, then the menu let go away from its items.
object_menu_shot() {
  changes_screen "pulling down Object" xdotool mousemove 385 9 mousedown 1
  shoot "$1"
  xdotool mousemove 385 400
  changes_screen "letting Object go" xdotool mouseup 1
}
# Chart Kind's text (item at y 206) is black when the item is open, grey when dimmed.
chart_kind_open() { [ "$(dark_pixels "$1" 80x14+395+199)" -gt 20 ]; }

object_menu_shot chart_kind_item_cells.png
chart_kind_open chart_kind_item_cells.png || fail "Chart Kind is dimmed with cells selected"

open_tool_palette
draw_with "${oval_tool[@]}" 300 $((150 + dy)) 380 $((190 + dy))
object_menu_shot chart_kind_item_one.png
chart_kind_open chart_kind_item_one.png && fail "Chart Kind is open with one oval selected"
draw_with "${oval_tool[@]}" 300 $((250 + dy)) 380 $((290 + dy))
xdotool keydown shift
changes_screen "adding the first oval" click_at 340 $((170 + dy))
xdotool keyup shift
object_menu_shot chart_kind_item_two.png
chart_kind_open chart_kind_item_two.png && fail "Chart Kind is open with two ovals selected"
quit_without_saving
echo "chart kind item: ok"
