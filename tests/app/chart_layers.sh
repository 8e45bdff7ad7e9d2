#!/usr/bin/env bash
# A chart on the second layer over the first layer's data, with the real
# program under Xvfb: the range typed into the entry line ("=1:A1:C5") draws
# the first layer's fruit; two rows inserted above the data on the first layer
# leave the chart as it was and its range reads "=1:A3:C7"; Ctrl-Z puts the
# rows and the range back (screenshots chart_layers_*.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
source "$(dirname "$0")/fruit_chart.bash"
start_fruit_session chart_layers_open.png

# The tabs of the first and second layer.
tab_y=751
first_tab_x=66
second_tab_x=130
has_fruit() { has_chart "$1" && has_second_series "$1"; }
# The entry line's text, as a checksum of its pixels.
entry_line() { convert "$out/$1" -crop 200x14+142+50 -threshold 50% -format "%#" info:; }
# The second layer is empty: no "Apples" in B1.
shows_second_layer() { [ "$(dark_pixels "$1" 60x12+112+113)" -eq 0 ]; }

xdotool mousemove "$second_tab_x" "$tab_y"
sleep 0.2
xdotool click --repeat 2 --delay 120 1
shoot_until chart_layers_second.png shows_second_layer chart_layers_second.png || fail "the second layer is not shown"
object_choice "$chart_kind_y" "$column_y"
changes_screen "placing a chart" click_at 330 160
keys equal 1 colon shift+a 1 colon shift+c 5 Return
shoot_until chart_layers_chart.png has_fruit chart_layers_chart.png || fail "the chart does not show the first layer's data"
typed_range=$(entry_line chart_layers_chart.png)

changes_screen "choosing the first layer" click_at "$first_tab_x" "$tab_y"
changes_screen "selecting row 1" click_at 17 120
xdotool keydown shift
changes_screen "extending the selection to row 2" click_at 17 137
xdotool keyup shift
changes_screen "inserting rows" keys ctrl+shift+i
click_at "$second_tab_x" "$tab_y"
range_changed() { has_fruit "$1" && [ "$(entry_line "$1")" != "$typed_range" ]; }
shoot_until chart_layers_inserted.png range_changed chart_layers_inserted.png ||
  fail "the chart did not follow the rows inserted on its data's layer"

changes_screen "undoing" keys ctrl+z
click_at "$second_tab_x" "$tab_y"
range_back() { has_fruit "$1" && [ "$(entry_line "$1")" = "$typed_range" ]; }
shoot_until chart_layers_undone.png range_back chart_layers_undone.png || fail "Undo did not give the chart its range back"
quit_without_saving
echo "chart layers: ok"
