#!/usr/bin/env bash
# The Chart Options menu in the real program under Xvfb: Data Labels writes
# each column's value over it, Titles… refuses a title in Greek letters and
# gives the chart a title and its axes titles, Axes… fixes the value axis from 0 to 100, and a bad number there is
# refused with a message (screenshots chart_options_*.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/../app/app_script.bash"
source "$(dirname "$0")/../app/fruit_chart.bash"
start_fruit_session chart_options_open.png

data_labels_y=$((chart_options_y + 42))
axes_y=$((chart_options_y + 72))
titles_y=$((chart_options_y + 93))
# The chart's inside, and where its value axis has its top label (lower
# while the data labels keep room above the plot).
chart_box=270x170+335+145
axis_labels() { dark_pixels "$1" 30x30+340+163; }

keys shift+Down shift+Down shift+Down shift+Down shift+Right shift+Right
object_choice "$chart_kind_y" "$column_y"
click_at 330 140
shoot_until chart_options_made.png has_chart chart_options_made.png || fail "no column chart drawn"
# The chart's texts: pixels neither white, black nor a series' colour (the
# grey edges of letters). Data labels add texts while the plot gives them room.
text_ink() {
  convert "$out/$1" -crop "$chart_box" +repage -format %c histogram:info:- |
    awk '/#FFFFFF|#000000|#0000D4|#DD0806/ {next} {count += $1} END {print count + 0}'
}
bare=$(text_ink chart_options_made.png)

labelled() { [ "$(text_ink "$1")" -gt $((bare + 150)) ]; }
object_choice "$chart_options_y" "$data_labels_y"
shoot_until chart_options_labels.png labelled chart_options_labels.png || fail "Data Labels drew no values"

type_field() { xdotool type --window "$window" --delay 40 "$1"; }
object_choice "$chart_options_y" "$titles_y"
# A title in Greek letters is refused with an alert (its stop sign red), the
# field kept selected for the title typed over it.
greek="Φρούτα"
bind_letters "$greek"
type_field "$greek"
changes_screen "a Greek title" keys Return
shoot chart_options_greek.png
stop_sign_shown() { [ "$(colour_pixels "$1" CC2222 1024x768+0+0)" -gt 100 ]; }
stop_sign_shown chart_options_greek.png || fail "a title in Greek letters was taken"
changes_screen "closing the message" keys Return
type_field "Fruit Sales"; keys Tab; type_field "Month"; keys Tab; type_field "Boxes"
changes_screen "confirming the titles" keys Return
titled() { [ "$(dark_pixels "$1" 270x14+335+146)" -gt 30 ]; }
shoot_until chart_options_titles.png titled chart_options_titles.png || fail "the chart title is not drawn"

object_choice "$chart_options_y" "$axes_y"
type_field "zero"
changes_screen "a bad minimum" keys Return
shoot chart_options_refused.png
changes_screen "closing the message" keys Return
keys ctrl+a; type_field "0"; keys Tab; type_field "100"; keys Tab; type_field "25"
top_label=$(axis_labels chart_options_titles.png)
fixed() { [ "$(axis_labels "$1")" -gt "$top_label" ]; }
changes_screen "confirming the axis" keys Return
shoot_until chart_options_axes.png fixed chart_options_axes.png || fail "the value axis does not reach 100"
changes_screen "asking to quit" kill -TERM "$app_pid"
keys d
wait_for 60 app_ended || fail "quorvin did not quit after Don't Save"
wait "$app_pid" || fail "quorvin exited with $?"
app_pid=
echo "chart options: ok"
