#!/usr/bin/env bash
# An object dragged from one document window to another in the real program:
# a picture pasted from another program's clipboard (xclip) into one document,
# a second document opened and the two tiled, then the picture dragged into
# the other window, where a copy lands while the original stays
# (object_window_drag_*.png; _moving.png is the drag in progress).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
skip_without xclip
start_converter_session "$quorvin" 1024x768

printf 'x\r\n' > "$work/one.csv"
make_document "$work/one.csv" "$work/one.qrv"
start_app "$quorvin" "$work/one.qrv"
await_document object_window_drag_open.png

# mask FILE: the green pixels white, all else black.
green_pixels() { convert "$out/$1" -fill black +opaque "#00C000" -fill white -opaque "#00C000" -format "%[fx:round(w*h*mean)]" info:; }
green_box() { convert "$out/$1" -fill black +opaque "#00C000" -fill white -opaque "#00C000" -format "%@" info:; }

convert -size 60x40 xc:'#00C000' "$work/green.png"
another_program_copies_png "$work/green.png"
# B3 of a new document's window: columns 76 pixels wide from 33, rows 17 high from 58.
changes_screen "selecting B3" click_at $((33 + 76 + 38)) $((58 + dy + 17 * 2 + 8))
keys ctrl+v
one_block() { [ "$(green_pixels "$1")" -gt 2000 ]; }
shoot_until object_window_drag_pasted.png one_block object_window_drag_pasted.png || fail "no picture pasted"

changes_screen "a new document" keys ctrl+n
tile_horizontally
shoot_until object_window_drag_tiled.png one_block object_window_drag_tiled.png || fail "the picture is hidden after tiling"

# The block's centre, and a place in the other window (the top or bottom half).
box=$(green_box object_window_drag_tiled.png)
IFS='x+' read -r width height left top <<< "$box"
from_x=$((left + width / 2)) from_y=$((top + height / 2))
if [ "$from_y" -lt 384 ]; then to_y=$((from_y + 384)); else to_y=$((from_y - 300)); fi
to_x=$((from_x + 100))
changes_screen "bringing the picture's window to the front" xdotool mousemove "$from_x" "$from_y" click 1
xdotool mousemove "$from_x" "$from_y" mousedown 1
for step in 1 2 3 4 5 6 7 8; do
  xdotool mousemove $((from_x + (to_x - from_x) * step / 10)) $((from_y + (to_y - from_y) * step / 10))
  sleep 0.1
done
shoot object_window_drag_moving.png
xdotool mousemove "$to_x" "$to_y"
sleep 0.2
xdotool mouseup 1
two_blocks() { [ "$(green_pixels "$1")" -gt 4400 ]; }
shoot_until object_window_drag_dropped.png two_blocks object_window_drag_dropped.png ||
  fail "no copy of the picture in the other window"
quit_without_saving
echo "object window drag: ok"
