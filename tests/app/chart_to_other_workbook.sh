#!/usr/bin/env bash
# A chart dragged from one document into another in the real program under
# Xvfb: the fruit document's column chart of apples (blue) and pears (red)
# lands in a document whose cells at the same addresses hold one series of
# nuts and nothing for a second; the copy still shows both fruit series, as
# the original does (chart_to_other_workbook_*.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
source "$(dirname "$0")/fruit_chart.bash"
start_converter_session "$quorvin" 1024x768

printf ',Apples,Pears\nJan,10,45\nFeb,20,40\nMar,30,35\nApr,40,30\n' > "$work/fruit.csv"
make_document "$work/fruit.csv" "$work/fruit.qrv"
printf ',Nuts,Figs\nJan,5,\nFeb,5,\nMar,5,\nApr,5,\n' > "$work/other.csv"
make_document "$work/other.csv" "$work/other.qrv"
start_app "$quorvin" "$work/other.qrv" "$work/fruit.qrv"
# The second window stands further right than the first: its red close box
# shows when both are open.
second_window() {
  [ "$(convert "$out/$1" -crop 1x100+24+60 -fx "(r>0.7&&g<0.5&&b<0.5)?1:0" -format "%[fx:round(h*mean)]" info:)" -gt 3 ]
}
shoot_until chart_to_other_workbook_open.png second_window chart_to_other_workbook_open.png ||
  fail "the second document did not open"

# Window (title at x 490), Arrange (item at y 125), Tile Horizontally: the
# fruit document above, the other below.
changes_screen "opening the Window menu" xdotool mousemove 490 9 click 1
changes_screen "reaching Arrange" glide 490 20 520 125
changes_screen "entering Arrange's submenu" glide 520 125 730 125
changes_screen "reaching Tile Horizontally" glide 730 125 730 167
changes_screen "tiling the windows" xdotool click 1

upper=420x270+590+105 lower=420x280+590+435
fruit_in() { [ "$(colour_pixels "$1" 0000D4 "$2")" -gt 300 ] && [ "$(colour_pixels "$1" DD0806 "$2")" -gt 300 ]; }

# A column chart over A1:C5, placed at the right of the upper window. A1 may
# already be the active cell: B2 first, so that each click shows.
changes_screen "choosing B2" click_at 150 135
changes_screen "choosing A1" click_at 75 118
keys shift+Down shift+Down shift+Down shift+Down shift+Right shift+Right
object_choice "$chart_kind_y" "$column_y"
click_at 640 125
fruit_above() { fruit_in "$1" "$upper"; }
shoot_until chart_to_other_workbook_chart.png fruit_above chart_to_other_workbook_chart.png ||
  fail "no chart of both fruit series"
changes_screen "choosing a cell" click_at 300 300
changes_screen "selecting the chart" click_at 780 215

# Dragged by hand into the lower window, pressed 10 pixels from the click
# that selected it (a second press at the same point would be a double click,
# which opens the chart's settings).
xdotool mousemove 790 225 mousedown 1
for step in 1 2 3 4 5 6 7 8; do
  xdotool mousemove 790 $((225 + 330 * step / 10))
  sleep 0.1
done
xdotool mousemove 790 555
sleep 0.2
xdotool mouseup 1
fruit_below() { fruit_in "$1" "$lower"; }
shoot_until chart_to_other_workbook_dropped.png fruit_below chart_to_other_workbook_dropped.png ||
  fail "the chart dropped into the other document does not show the apples and pears it showed"
fruit_above chart_to_other_workbook_dropped.png || fail "the original chart changed"
quit_without_saving
echo "chart to other workbook: ok"
