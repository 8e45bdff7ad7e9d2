#!/usr/bin/env bash
# Cells dragged out of the real program under Xvfb onto another X client that
# takes drags (tests/app/data/xdnd_target.c, built here): in a document
# holding 1 and 2 in A1:A2, the border of A1:A2 dragged out of the program's
# window onto the other client's gives it the cells' text, and the document
# keeps its cells (screenshots drag_to_other_program_*.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
command -v cc >/dev/null || { echo "skipped: no C compiler"; exit "$skip_status"; }
start_converter_session "$quorvin" 1400x768
target_program="$work/xdnd_target"
cc -o "$target_program" "$(dirname "$0")/data/xdnd_target.c" -lX11 || fail "the drag target does not build"

printf '1\r\n2\r\n' > "$work/two.csv"
make_document "$work/two.csv" "$work/two.qrv"
start_app "$quorvin" "$work/two.qrv"
await_document drag_to_other_program_open.png
app_width=$(xdotool getwindowgeometry --shell "$window" | sed -n 's/^WIDTH=//p')

# The other client, right of the program's window.
"$target_program" "$work/types" "$work/dropped" $((app_width + 40)) 100 300 300 &
target_pid=$!
target_shown() { xdotool search --name '^xdnd target$' >/dev/null 2>&1; }
wait_for 30 target_shown || fail "the drag target shows no window"

# Columns 76 pixels wide from 33, rows 17 pixels high from 58 below the close box's top.
a_x=$((33 + 38))
a1_y=$((58 + dy + 8))
a2_y=$((58 + dy + 17 + 8))
mark_screen
xdotool mousemove "$a_x" "$a1_y" mousedown 1
glide "$a_x" "$a1_y" "$a_x" "$a2_y"
xdotool mouseup 1
await_change "selecting A1:A2"

# The top edge of the selection A1:A2, out to the middle of the other client.
top_y=$((58 + dy))
xdotool mousemove "$a_x" "$top_y" mousedown 1
glide "$a_x" "$top_y" $((app_width / 2)) 300
glide $((app_width / 2)) 300 $((app_width + 190)) 250
sleep 0.3
xdotool mousemove $((app_width + 200)) 250
shoot drag_to_other_program_over.png
xdotool mouseup 1
dropped() { [ -s "$work/dropped" ]; }
wait_for 30 dropped || fail "the other client received no text"
wait "$target_pid" || fail "the other client could not read the drop"
text=$(tr '\n' ' ' < "$work/dropped")
[ "$text" = "1 2 " ] || fail "the other client received '$text', not the cells' text"
grep -qx 'text/plain;charset=utf-8' "$work/types" || fail "the drag offered no UTF-8 text: $(cat "$work/types")"
grep -qx 'UTF8_STRING' "$work/types" || fail "the drag offered no UTF8_STRING: $(cat "$work/types")"

shows_number() { [ "$(dark_pixels "$1" "34x14+$((33 + 40))+$((58 + dy + 17 * $2 + 1))")" -gt 4 ]; }
kept() { shows_number "$1" 0 && shows_number "$1" 1; }
shoot_until drag_to_other_program_after.png kept drag_to_other_program_after.png || fail "the cells left the document"
quit_without_saving
echo "drag to another program: ok"
