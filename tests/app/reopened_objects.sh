#!/usr/bin/env bash
# Undo in a reopened document acts on the object it recorded, with the real
# program under Xvfb: a column chart made on the fruit document is saved and
# the document reopened; a second chart made below it and turned into a pie
# (Object > Chart Kind) is a column chart again after Ctrl-Z, and the saved
# chart stays as it was; the second chart dragged aside comes back with
# Ctrl-Z and a second Ctrl-Z takes it away, leaving the saved one; saved and
# reopened again, the document shows the first chart alone (screenshots
# reopened_objects_*.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
source "$(dirname "$0")/fruit_chart.bash"
start_fruit_session reopened_objects_open.png

pie_y=$chart_kind_y
# count_in FILE RGB GEOMETRY: pixels of the colour in the crop.
count_in() { convert "$out/$1" -crop "$3" -fill black +opaque "#$2" -fill white -opaque "#$2" \
  -format "%[fx:round(w*h*mean)]" info:; }
# The places of the charts: the first at the top, the second below it, and
# the second dragged to the right.
first=270x170+335+145
second=270x170+335+405
aside=270x170+635+405
# A column chart shows both series, blue and red; a pie shows the first
# series' four months, the third in green.
column_at() {
  [ "$(count_in "$1" 0000D4 "$2")" -gt 300 ] && [ "$(count_in "$1" DD0806 "$2")" -gt 300 ] &&
    [ "$(count_in "$1" 008011 "$2")" -lt 20 ]
}
pie_at() { [ "$(count_in "$1" 008011 "$2")" -gt 300 ]; }
nothing_at() { [ "$(count_in "$1" 0000D4 "$2")" -lt 20 ] && [ "$(count_in "$1" DD0806 "$2")" -lt 20 ]; }
shows() {
  local file=$1
  shift
  local where
  for where in "$@"; do column_at "$file" "${!where}" || return 1; done
}
only_first() { shows "$1" first && nothing_at "$1" "$second" && nothing_at "$1" "$aside"; }
second_pie() { shows "$1" first && pie_at "$1" "$second"; }
second_column() { shows "$1" first second; }
second_aside() { shows "$1" first aside && nothing_at "$1" "$second"; }
# The data, A1:C5, selected from a click on A1.
select_fruit() {
  click_at 60 119
  keys shift+Down shift+Down shift+Down shift+Down shift+Right shift+Right
}
# The document window zoomed to fill the screen, room for both charts.
zoomed() { ! is_desktop "$1" 900 600; }
zoom() {
  shoot "$1"
  zoomed "$1" && return
  click_at 56 84
  shoot_until "$1" zoomed "$1" || fail "the window did not zoom"
}
chart_at() {
  object_choice "$chart_kind_y" "$column_y"
  click_at "$1" "$2"
}
# The file's time of change, to the nanosecond, and its node.
file_stamp() { stat -c '%y %i' "$work/fruit.qrv"; }
saved() { [ "$(file_stamp)" != "$saved_stamp" ]; }
save_and_reopen() {
  saved_stamp=$(file_stamp)
  keys ctrl+s
  wait_for 60 saved || fail "Ctrl-S did not save the document"
  quit_app
  start_app "$quorvin" "$work/fruit.qrv"
  shoot_until "$1" has_document "$1" || fail "no document window after reopening"
  zoom "$1"
}

zoom reopened_objects_zoomed.png
select_fruit
chart_at 330 140
shoot_until reopened_objects_first.png only_first reopened_objects_first.png || fail "no column chart drawn"
save_and_reopen reopened_objects_reopened.png
shoot_until reopened_objects_reopened.png only_first reopened_objects_reopened.png || fail "the saved chart is not drawn"

select_fruit
chart_at 330 400
shoot_until reopened_objects_second.png second_column reopened_objects_second.png || fail "no second chart drawn"
object_choice "$chart_kind_y" "$pie_y"
shoot_until reopened_objects_pie.png second_pie reopened_objects_pie.png || fail "Chart Kind > Pie made no pie"
keys ctrl+z
shoot_until reopened_objects_unpied.png second_column reopened_objects_unpied.png ||
  fail "Undo did not make the new chart a column chart again, or changed the saved one"

xdotool mousemove 460 490
sleep 0.2  # a hand's pause before pressing
xdotool mousedown 1
glide 460 490 760 490
xdotool mouseup 1
shoot_until reopened_objects_dragged.png second_aside reopened_objects_dragged.png || fail "the drag did not move the chart"
keys ctrl+z
shoot_until reopened_objects_back.png second_column reopened_objects_back.png ||
  fail "Undo did not move the new chart back, or moved the saved one"
keys ctrl+z
shoot_until reopened_objects_removed.png only_first reopened_objects_removed.png ||
  fail "Undo New Object did not take the new chart away, or took the saved one"

save_and_reopen reopened_objects_again.png
shoot_until reopened_objects_again.png only_first reopened_objects_again.png || fail "the saved chart was lost"
quit_app
echo "reopened objects: ok"
