#!/usr/bin/env bash
# A chart on the second layer over the first layer's data, with the real
# program under Xvfb: the range typed into the entry line ("=1:A1:C5") draws
# the first layer's fruit; two rows inserted above the data on the first layer
# leave the chart as it was and its range reads "=1:A3:C7"; Ctrl-Z puts the
# rows and the range back (screenshots chart_layers_*.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
set -uo pipefail
quorvin=$1
out=${2:-.}
source "$(dirname "$0")/xvfb_session.bash"
start_converter_session "$quorvin" 1024x768

printf ',Apples,Pears\nJan,10,45\nFeb,20,40\nMar,30,35\nApr,40,30\n' > "$work/fruit.csv"
"$sheetconv" "$work/fruit.csv" "$work/fruit.qrv" || fail "no document from the converter"
start_app "$quorvin" "$work/fruit.qrv"
shoot_until chart_layers_open.png has_document chart_layers_open.png || fail "no document window"

keys() { xdotool key --window "$window" --delay 40 "$@"; }
object_choice() { submenu_choice 385 420 520 "$1" "$2"; }
# The tabs of the first and second layer, and the first two row headings.
tab_y=751
first_tab_x=66
second_tab_x=130
chart_kind_y=227
column_y=$((chart_kind_y + 2 * 21))
# The chart's blue and red in the sheet, and the entry line's text as dark pixels.
colour_count() { convert "$out/$1" -crop 380x260+280+110 -fill black +opaque "#$2" -fill white -opaque "#$2" \
  -format "%[fx:round(w*h*mean)]" info:; }
has_fruit() { [ "$(colour_count "$1" 0000D4)" -gt 300 ] && [ "$(colour_count "$1" DD0806)" -gt 300 ]; }
entry_line() { convert "$out/$1" -crop 200x14+142+50 -threshold 50% -format "%#" info:; }
# The second layer is empty: no "Apples" in B1.
shows_second_layer() { [ "$(dark_pixels "$1" 60x12+112+113)" -eq 0 ]; }

xdotool mousemove "$second_tab_x" "$tab_y"
sleep 0.3
xdotool click --repeat 2 --delay 120 1
shoot_until chart_layers_second.png shows_second_layer chart_layers_second.png || fail "the second layer is not shown"
object_choice "$chart_kind_y" "$column_y"
xdotool mousemove 330 160
sleep 0.3
xdotool click 1
sleep 0.5
keys equal 1 colon shift+a 1 colon shift+c 5 Return
shoot_until chart_layers_chart.png has_fruit chart_layers_chart.png || fail "the chart does not show the first layer's data"
typed_range=$(entry_line chart_layers_chart.png)

xdotool mousemove "$first_tab_x" "$tab_y"
sleep 0.3
xdotool click 1
sleep 1
xdotool mousemove 17 120
sleep 0.3
xdotool click 1
sleep 0.3
xdotool keydown shift
xdotool mousemove 17 137
sleep 0.3
xdotool click 1
xdotool keyup shift
sleep 0.3
keys ctrl+shift+i
sleep 1
xdotool mousemove "$second_tab_x" "$tab_y"
sleep 0.3
xdotool click 1
range_changed() { has_fruit "$1" && [ "$(entry_line "$1")" != "$typed_range" ]; }
shoot_until chart_layers_inserted.png range_changed chart_layers_inserted.png ||
  fail "the chart did not follow the rows inserted on its data's layer"

keys ctrl+z
sleep 1
xdotool mousemove "$second_tab_x" "$tab_y"
sleep 0.3
xdotool click 1
range_back() { has_fruit "$1" && [ "$(entry_line "$1")" = "$typed_range" ]; }
shoot_until chart_layers_undone.png range_back chart_layers_undone.png || fail "Undo did not give the chart its range back"
quit_without_saving
echo "chart layers: ok"
