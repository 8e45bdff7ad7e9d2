#!/usr/bin/env bash
# The cell-reference box of the command bar in the real program under Xvfb:
# the pointer over the entry line puts the entry line's help there
# (reference_box_help.png); with Document Layout open, the bar takes no clicks
# and the box keeps the cell's reference (reference_box_under_dialog.png).
# Arguments: the quorvin binary and the build folder (the screenshots go there).
source "$(dirname "$0")/app_script.bash"
start_session 1024x768

box_ink() { dark_pixels "$1" 90x12+15+51; }
helped() { [ "$(box_ink "$1")" -gt "$((reference_ink * 2))" ]; }
dialog_up() { [ "$(pixel "$1" 512 300)" = EEEEEE ]; }

start_app "$quorvin"
shoot_until reference_box_start.png has_document reference_box_start.png || fail "no document window"
reference_ink=$(box_ink reference_box_start.png)
[ "$reference_ink" -gt 3 ] || fail "the box shows no reference"
glide 300 300 400 57
shoot_until reference_box_help.png helped reference_box_help.png || fail "no help over the entry line"

# File ▸ Document Layout…, the pointer dragged from the menu title to the item.
changes_screen "pressing the File menu" xdotool mousemove 93 9 mousedown 1
glide 93 9 150 248
xdotool mouseup 1
shoot_until reference_box_dialog.png dialog_up reference_box_dialog.png || fail "Document Layout did not open"
glide 400 200 400 57
wait_for 30 screen_still || fail "the screen did not come to rest"
shoot reference_box_under_dialog.png
helped reference_box_under_dialog.png && fail "the box shows the entry line's help under the dialog"
keys Escape

quit_without_saving
echo "reference box under dialog: ok"
