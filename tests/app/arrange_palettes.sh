#!/usr/bin/env bash
# Window > Arrange with palettes at either side, in the real program under
# Xvfb: with the tool, border and options palettes at the screen's left edge,
# Stack, Cascade, Tile Horizontally and Tile Vertically keep both document
# windows whole on the desktop: the screen's last column shows a window's
# frame or the desktop, never a window's inside or scroll bar, and nothing of
# a window reaches down beside the sheet-tab bar. With the chart palette
# moved against the right edge, no window reaches under it (screenshots
# arrange_palettes_*.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
start_session 1024x768

prefs=$(prefs_file)
left_palettes=$((0x00100000 | 0x00008000 | 0x00001000))  # tools, borders, options
chart_palette=0x00040000
all_palettes=$((left_palettes | chart_palette | 0x00080000))
# A document window in the middle of the screen, wherever the palettes are.
document_shown() { ! is_desktop "$1" 500 300; }
# start_with_palettes BITS: the program started with those palettes open and a
# second document made.
start_with_palettes() {
  write_options $(( ($(read_options) & ~all_palettes) | $1 ))
  start_app "$quorvin"
  shoot_until arrange_palettes_started.png document_shown arrange_palettes_started.png || fail "no document window"
  changes_screen "a second document" keys ctrl+n
}

# Window (title at x 490), Arrange (item at y 125), the submenu's item at Y.
arrange() {
  changes_screen "opening the Window menu" xdotool mousemove 490 9 click 1
  changes_screen "reaching Arrange" glide 490 20 520 125
  changes_screen "entering Arrange's submenu" glide 520 125 730 125
  [ "$1" -eq 125 ] || changes_screen "reaching an arrangement" glide 730 125 730 "$1"
  changes_screen "arranging" xdotool click 1
}
arrangements="125:stack 146:cascade 167:tile_horizontally 188:tile_vertically"

# A window's frame (front or behind) or the desktop.
frame_or_desktop() { case "$(pixel "$1" "$2" "$3")" in 6F6F6F|AFAFAF|6C7F99|5D6F88) return 0;; *) return 1;; esac; }
whole_on_desktop() { frame_or_desktop "$1" 1023 300 && frame_or_desktop "$1" 1023 500 && is_desktop "$1" 900 740; }

start_app "$quorvin"
shoot_until arrange_palettes_first.png has_document arrange_palettes_first.png || fail "no document window"
quit_app
[ -s "$prefs" ] || fail "no preferences written"

start_with_palettes "$left_palettes"
for arrangement in $arrangements; do
  arrange "${arrangement%%:*}"
  shot="arrange_palettes_left_${arrangement#*:}.png"
  shoot "$shot"
  whole_on_desktop "$shot" || fail "${arrangement#*:} with palettes at the left puts a window off the desktop"
done
quit_without_saving

# The chart palette's title bar (x 870 to 975 at y 482) dragged 44 pixels
# right, against the screen's right edge.
start_with_palettes "$chart_palette"
mark_screen
xdotool mousemove 920 482
sleep 0.2
xdotool mousedown 1
glide 920 482 964 482
xdotool mouseup 1
await_change "dragging the chart palette"
shoot arrange_palettes_right.png
palette_at_edge() { ! frame_or_desktop "$1" 1020 500; }
palette_at_edge arrange_palettes_right.png || fail "the chart palette did not reach the right edge"
for arrangement in $arrangements; do
  arrange "${arrangement%%:*}"
  shot="arrange_palettes_right_${arrangement#*:}.png"
  shoot "$shot"
  is_desktop "$shot" 1010 300 || fail "${arrangement#*:} puts a window under the palette at the right"
done
quit_without_saving
echo "arrange with palettes: ok"
