#!/usr/bin/env bash
# The floating palettes with the real program under Xvfb: a first run writes
# the preferences; with the tool, border and options palettes' start-up bits
# set there, the next run opens them at the screen's left edge
# (palettes_road_open.png); a click on the border palette's "all sides" tool
# borders the active cell and moves the palette's red mark to that tool
# (palettes_road_bordered.png); quitting keeps the bits.
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
start_session 1024x768

prefs=$(prefs_file)
palette_bits=$((0x00100000 | 0x00008000 | 0x00001000))  # tools, borders, options
# The border palette's content starts at (439, 1), the options window's at
# (540, 1): boxes 23 x 21 pixels apart with grey lines between them. Tool 10
# is the first box of the fourth row; the mark is a red frame inset by one.
grid_top=439 options_top=540 left=1
grid_line() { [ "$(pixel "$1" $((left + 22)) $(($2 + 5)))" = 888888 ]; }
palettes_shown() { grid_line "$1" "$grid_top" && grid_line "$1" "$options_top"; }
marked() { [ "$(pixel "$1" $((left + $2 % 3 * 23 + 1)) $((grid_top + $2 / 3 * 21 + 1)))" = DD0000 ]; }

start_app "$quorvin"
shoot_until palettes_road_first.png has_document palettes_road_first.png || fail "no document window"
palettes_shown palettes_road_first.png && fail "palettes open before their bits are set"
quit_app
[ -s "$prefs" ] || fail "no preferences written"
write_options $(( $(read_options) | palette_bits ))

start_app "$quorvin"
shoot_until palettes_road_open.png palettes_shown palettes_road_open.png || fail "the palettes did not open at start-up"
shoot_until palettes_road_open.png marked palettes_road_open.png 0 || fail "the border palette does not mark the empty cell's tool"
xdotool mousemove --window "$window" $((left + 11)) $((grid_top + 3 * 21 + 10)) click 1
shoot_until palettes_road_bordered.png marked palettes_road_bordered.png 9 || fail "the all-sides tool was not marked"
marked palettes_road_bordered.png 0 && fail "the old mark stayed"

quit_without_saving
(( ($(read_options) & palette_bits) == palette_bits )) || fail "quitting cleared the palettes' start-up bits"
echo "palettes road: ok"
