# Shared by the scripts that draw objects with the tool palette: an empty
# document open in the real program, the Tools palette opened, and an object
# drawn with a tool as a hand drags it. Source it after xvfb_session.bash; the
# caller sets `quorvin` and `out`.

# start_empty_document SCREENSHOT: a session with an empty document made by
# the converter and open ($dy set).
start_empty_document() {
  start_converter_session "$quorvin" 1024x768
  : > "$work/empty.csv"
  make_document "$work/empty.csv" "$work/drawing.qrv"
  start_app "$quorvin" "$work/drawing.qrv"
  await_document "$1"
}

# View > Palettes > Tools: the palette at the screen's left, three tools a
# row, 23 pixels apart from x 12 and 21 apart from y 107.
open_tool_palette() { submenu_choice 436 470 700 176 269; }
arrow_tool=(35 128)
oval_tool=(12 149)
text_box_tool=(12 170)

# draw_with TOOL_X TOOL_Y X1 Y1 X2 Y2: the tool chosen, a press at the first
# point, the mouse moved by hand to the second and let go there.
draw_with() {
  click_at "$1" "$2"
  sleep 0.2
  xdotool mousemove "$3" "$4"
  sleep 0.2
  xdotool mousedown 1
  glide "$3" "$4" "$5" "$6"
  changes_screen "drawing with the tool at $1,$2" xdotool mouseup 1
}
