#!/usr/bin/env bash
# Opens a document with a drawing object of every kind in the real program
# under Xvfb (screenshot drawing_objects.png): a press selects the oval (its
# handles show), Delete takes it away and Undo brings it back; a second press
# on the text box opens its editor, typed text shows in the box and stays
# there when a press elsewhere ends the editing (drawing_objects_typed.png).
# Arguments: the quorvin binary and the build folder (the screenshots go there).
source "$(dirname "$0")/app_script.bash"
start_session 1024x768
sample="$(cd "$(dirname "$0")" && pwd)/data/drawing_sample.qrv"

# Places of the sample's objects in the window, for a window dy rows lower.
oval_v() { echo $((119 + dy)); }
oval_h=514
box_v() { echo $((238 + dy)); }
box_h=293
# A filled oval shows many dark pixels; a selected one has dark handles at its corners.
oval_shown() { [ "$(dark_pixels "$1" 40x30+$((oval_h - 20))+$(($(oval_v) - 15)))" -gt 300 ]; }
oval_gone() { ! oval_shown "$1"; }
oval_selected() { [ "$(dark_pixels "$1" 8x8+$((oval_h - 48))+$(($(oval_v) - 44)))" -gt 10 ]; }
box_text() { dark_pixels "$1" 84x30+$((box_h - 42))+$(($(box_v) - 36)); }
box_typed() { [ "$(box_text "$1")" -gt "$((plain + 40))" ]; }
press() { xdotool mousemove --window "$window" "$2" "$1" click 1; }

start_app "$quorvin" "$sample"
await_document drawing_objects.png has_document_title
oval_shown drawing_objects.png || fail "the oval is not drawn"
plain=$(box_text drawing_objects.png)
[ "$plain" -gt 40 ] || fail "the text box shows no text"

press "$(oval_v)" "$oval_h"
shoot_until drawing_objects_selected.png oval_selected drawing_objects_selected.png || fail "a press did not select the oval"
xdotool key Delete
shoot_until drawing_objects_deleted.png oval_gone drawing_objects_deleted.png || fail "Delete left the oval"
xdotool key ctrl+z
shoot_until drawing_objects_undone.png oval_shown drawing_objects_undone.png || fail "Undo did not bring the oval back"

changes_screen "selecting the text box" press "$(box_v)" "$box_h"
past_double_click_time
press "$(box_v)" "$box_h"
xdotool key End
xdotool type --delay 60 " written here"
shoot_until drawing_objects_typed.png box_typed drawing_objects_typed.png || fail "typed text does not show in the box"
press $((420 + dy)) 700
shoot_until drawing_objects_ended.png box_typed drawing_objects_ended.png || fail "the typed text went when the editing ended"

quit_without_saving
echo "drawing objects: ok"
