#!/usr/bin/env bash
# The cursor over the sheet in the real program under Xvfb: the pointer over a
# column boundary in the headings, the split boxes, each handle of a selected
# oval and its inside, a cell being typed in, the sheet with a drawing tool
# armed, and a layer's tab dragged along the tab bar; each time the cursor the program set on its window is read back
# (QUORVIN_CURSOR_LOG) and drawn into a screenshot (sheet_cursor_<id>.png,
# the cursor painted from its resource at the pointer, as X screenshots
# leave the pointer out).
# Arguments: the quorvin binary and the build folder (the screenshots go there).
source "$(dirname "$0")/app_script.bash"
start_session 1024x768
resources="$(cd "$(dirname "$0")/../../resources" && pwd)"
sample="$(cd "$(dirname "$0")" && pwd)/data/drawing_sample.qrv"
export QUORVIN_CURSOR_LOG="$out/sheet_cursor.txt"
rm -f "$QUORVIN_CURSOR_LOG"

# paint_cursor FILE ID X Y: the CURS resource's black and white pixels drawn
# into the screenshot with its hot spot at (X, Y).
paint_cursor() {
  local draw
  draw=$(awk -v id="$2" -v x="$3" -v y="$4" '
    $1 == "CURS" && $2 == id { inside = 1; row = 0; next }
    inside && $1 == "hotspot" { hv = $2; hh = $3; next }
    inside && $1 == "}" { exit }
    inside {
      for (c = 1; c <= 16; c++) {
        ch = substr($1, c, 1)
        if (ch == "#") black = black sprintf(" point %d,%d", x - hh + c - 1, y - hv + row)
        if (ch == "o") white = white sprintf(" point %d,%d", x - hh + c - 1, y - hv + row)
      }
      row++
    }
    END { printf "fill white%s fill black%s", white, black }' "$resources"/*.txt)
  convert "$out/$1" -draw "$draw" "$out/$1"
}

cursor_is() { [ "$(cat "$QUORVIN_CURSOR_LOG" 2>/dev/null)" = "$1" ]; }
# expect ID X Y WHAT: the pointer moved to (X, Y) sets cursor ID.
expect() {
  xdotool mousemove "$2" "$3"
  wait_for 20 cursor_is "$1" || fail "$4: cursor $(cat "$QUORVIN_CURSOR_LOG" 2>/dev/null), not $1"
  if [ "$1" != 0 ]; then
    shoot "sheet_cursor_$1.png"
    paint_cursor "sheet_cursor_$1.png" "$1" "$2" "$3"
  fi
}

start_app "$quorvin" "$sample"
await_document sheet_cursors.png has_document_title
# Places for a window dy rows lower: the headings' row, the oval's box.
headings_v=$((48 + dy))
oval_top=$((79 + dy)) oval_left=470 oval_bottom=$((159 + dy)) oval_right=558

expect 0 300 $((250 + dy)) "an empty cell"
expect 211 109 "$headings_v" "the boundary of columns A and B"
expect 129 654 $((43 + dy)) "the row-split box"
expect 130 5 $((472 + dy)) "the column-split box"

xdotool mousemove 514 $(((oval_top + oval_bottom) / 2)) click 1
expect 300 514 $(((oval_top + oval_bottom) / 2)) "inside the selected oval"
expect 133 "$oval_left" "$oval_top" "the oval's top-left handle"
expect 132 514 "$oval_top" "the oval's top handle"
expect 134 "$oval_right" "$oval_top" "the oval's top-right handle"
expect 131 "$oval_left" $(((oval_top + oval_bottom) / 2)) "the oval's left handle"

# Typing in C18 opens the in-cell editor over it.
xdotool mousemove 224 $((355 + dy)) click 1
xdotool type abc
expect 1 230 $((355 + dy)) "the cell being typed in"
xdotool key Return

# View > Palettes > Tools; the tool palette opens at the screen's left with
# the rectangle tool in the middle of its third row.
submenu_choice 436 470 700 176 269
xdotool mousemove 35 149 click 1
expect 215 300 $((250 + dy)) "the sheet with the rectangle tool armed"

# A second layer (a double-click on its tab), then the first layer's tab
# pressed and dragged to the right along the tab bar.
tab_y=751
xdotool mousemove 130 "$tab_y"
sleep 0.2
xdotool click --repeat 2 --delay 120 1
past_double_click_time
xdotool mousemove 66 "$tab_y" mousedown 1
expect 128 80 "$tab_y" "a layer's tab dragged"
xdotool mouseup 1

quit_without_saving
echo "sheet cursors: ok"
