#!/usr/bin/env bash
# An entry keeps the row height the user set, with the real program under
# Xvfb: row 2 of a SYLK document made taller by dragging its heading's
# boundary stays so when "plain" is typed into B2, in the window and in the
# file Ctrl-S writes, and after Undo of the entry; a text typed into a cell
# that wraps (Format > Text Alignment > Wrap Text) makes its row taller, and
# Undo brings back the row's height with its cell
# (screenshots entry_keeps_row_height_*.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
start_socket_session "$quorvin" 1024x768
key_delay=40

printf 'Name,Note\r\nfirst,x\r\n' > "$work/rows.csv"
"$sheetconv" "$work/rows.csv" "$work/rows.slk" || fail "the converter made no SYLK file"
saved_size=$(stat -c %s "$work/rows.slk")
start_socket_app entry_keeps_row_height_open.png "$work/rows.slk"

value_of() { send get "value of cell $1 of document 1"; }
holds() { [ "$(value_of "$1" 2>/dev/null)" = "$2" ]; }

# Rows start 58 pixels below the close box's top, 17 pixels high; the row
# headings' boundaries are the black pixels at x 10 below that.
rows_top=$((58 + dy))
# row_line FILE N: the y of the boundary below row N.
row_line() {
  convert "$out/$1" -crop "1x$((600 - rows_top))+10+$rows_top" txt:- |
    awk -F'[,:]' -v from="$rows_top" '/#000000|black/ {print $2 + from}' | sed -n "$2p"
}
# row_height FILE N: row N's height in pixels, as its boundaries lie.
row_height() {
  local below above
  below=$(row_line "$1" "$2")
  above=$(row_line "$1" $(($2 - 1)))
  [ -n "$below" ] && [ -n "$above" ] && echo $((below - above))
}
# height_is FILE N PIXELS / taller_than FILE N PIXELS
height_is() { [ "$(row_height "$1" "$2")" = "$3" ]; }
taller_than() { local h; h=$(row_height "$1" "$2"); [ -n "$h" ] && [ "$h" -gt "$3" ]; }
# look SCREENSHOT: a screenshot once the screen has come to rest.
look() {
  wait_for 30 screen_still || fail "the screen did not come to rest"
  shoot "$1"
}

shoot_until entry_keeps_row_height_open.png height_is entry_keeps_row_height_open.png 2 17 ||
  fail "row 2 is not 17 pixels high as opened: $(row_height entry_keeps_row_height_open.png 2)"
line=$(row_line entry_keeps_row_height_open.png 2)

# Row 2's boundary dragged 20 pixels down.
mark_screen
xdotool mousemove --window "$window" 10 "$line"
sleep 0.2
xdotool mousedown 1
for step in 5 10 15 20; do
  xdotool mousemove --window "$window" 10 $((line + step))
  sleep 0.1
done
await_change "dragging row 2's boundary"
xdotool mouseup 1
shoot_until entry_keeps_row_height_dragged.png taller_than entry_keeps_row_height_dragged.png 2 30 ||
  fail "the drag did not make row 2 taller"
dragged=$(row_height entry_keeps_row_height_dragged.png 2)

# "plain" typed into B2.
changes_screen "a click on B2" click_at $((33 + 76 + 38)) $((rows_top + 17 + 8))
typed plain
keys Return
wait_for 20 holds B2 plain || fail "B2 holds \"$(value_of B2)\", not plain"
look entry_keeps_row_height_typed.png
height_is entry_keeps_row_height_typed.png 2 "$dragged" ||
  fail "the entry made row 2 $(row_height entry_keeps_row_height_typed.png 2) pixels high, not the $dragged the user set"

keys ctrl+s
await_saved "$work/rows.slk"
grep -q "^F.*;M$((dragged * 20));R2"$'\r'"\?$" "$work/rows.slk" ||
  fail "the saved file does not give row 2 its $dragged pixels: $(grep ';R2' "$work/rows.slk" | tr '\r\n' '||')"

keys ctrl+z
wait_for 20 holds B2 x || fail "Undo left B2 holding \"$(value_of B2)\""
look entry_keeps_row_height_undone.png
height_is entry_keeps_row_height_undone.png 2 "$dragged" ||
  fail "Undo of the entry made row 2 $(row_height entry_keeps_row_height_undone.png 2) pixels high, not $dragged"

# B3 wraps its text: Format (title at x 185), Text Alignment (its item at
# y 377), Wrap Text (y 407 in the submenu).
send select "range B3:B3 of document 1" >/dev/null || fail "B3 not selected"
format_choice 377 407
look entry_keeps_row_height_wrap.png
height_is entry_keeps_row_height_wrap.png 3 17 || fail "wrapping the empty B3 changed its row's height"
typed "one two three four five six seven"
keys Return
wait_for 20 holds B3 "one two three four five six seven" || fail "B3 holds \"$(value_of B3)\""
shoot_until entry_keeps_row_height_wrapped.png taller_than entry_keeps_row_height_wrapped.png 3 40 ||
  fail "the wrapped text left row 3 $(row_height entry_keeps_row_height_wrapped.png 3) pixels high"

keys ctrl+z
wait_for 20 holds B3 "" || fail "Undo left B3 holding \"$(value_of B3)\""
shoot_until entry_keeps_row_height_unwrapped.png height_is entry_keeps_row_height_unwrapped.png 3 17 ||
  fail "Undo of the wrapped entry left row 3 $(row_height entry_keeps_row_height_unwrapped.png 3) pixels high"
height_is entry_keeps_row_height_unwrapped.png 2 "$dragged" || fail "row 2 lost the height the user set"

quit_without_saving
echo "entry keeps row height: ok"
