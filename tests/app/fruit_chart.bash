# Shared by the chart scripts: a session with the fruit document (two series
# over four months) open in the real program, the Object menu's chart items
# and the chart's colours counted in a screenshot. Source it after
# xvfb_session.bash; the caller sets `quorvin`, `out` and the name of the
# first screenshot.

# start_fruit_session SCREENSHOT: the document made by the converter and opened.
start_fruit_session() {
  start_converter_session "$quorvin" 1024x768
  printf ',Apples,Pears\nJan,10,45\nFeb,20,40\nMar,30,35\nApr,40,30\n' > "$work/fruit.csv"
  make_document "$work/fruit.csv" "$work/fruit.qrv"
  start_app "$quorvin" "$work/fruit.qrv"
  shoot_until "$1" has_document "$1" || fail "no document window"
}

# object_choice ITEM_Y SUBITEM_Y: Object's item at ITEM_Y, then the item of its submenu.
object_choice() { submenu_choice 385 420 520 "$1" "$2"; }
chart_kind_y=206
chart_options_y=227
column_y=$((chart_kind_y + 2 * 21))
grid_lines_y=$((chart_options_y + 21))
# colour_count FILE RGB: pixels of the colour in the sheet right of the data.
colour_count() { convert "$out/$1" -crop 380x260+280+110 -fill black +opaque "#$2" -fill white -opaque "#$2" \
  -format "%[fx:round(w*h*mean)]" info:; }
# The first series' blue, the second's red, the grid's grey.
has_chart() { [ "$(colour_count "$1" 0000D4)" -gt 300 ]; }
has_second_series() { [ "$(colour_count "$1" DD0806)" -gt 300 ]; }
has_grid() { [ "$(colour_count "$1" D0D0D0)" -gt 100 ]; }
