#!/usr/bin/env bash
# Data labels of three equal values (1000 in each of three series) in the
# real program under Xvfb: as a Stacked Bar chart, each value's label stands
# on white in the middle of its own part of the bar, so that along the bar's
# middle row each colour runs on both sides of its label; saved and reopened,
# the chart and its labels look the same (screenshots chart_equal_labels_*.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/../app/app_script.bash"
source "$(dirname "$0")/../app/fruit_chart.bash"
start_converter_session "$quorvin" 1024x768
printf '1000,1000,1000\n' > "$work/equal.csv"
make_document "$work/equal.csv" "$work/equal.qrv"
start_app "$quorvin" "$work/equal.qrv"
shoot_until chart_equal_labels_open.png has_document chart_equal_labels_open.png || fail "no document window"

data_labels_y=$((chart_options_y + 42))
stacked_bar_y=$((chart_kind_y + 14 * 21))
chart_box=300x200+320+130
plot_box=200x200+320+130  # the chart without its legend
keys shift+Right shift+Right
object_choice "$chart_kind_y" "$column_y"
click_at 330 140
shoot_until chart_equal_labels_made.png has_chart chart_equal_labels_made.png || fail "no chart drawn"
object_choice "$chart_options_y" "$data_labels_y"
object_choice "$chart_kind_y" "$stacked_bar_y"
click_at 100 400  # a cell: the chart is no longer selected
wait_for 30 screen_still || fail "the screen did not come to rest"

# runs_of FILE RGB: how many runs of the colour the row through the middle of
# the blue bar has, left of the legend.
runs_of() {
  convert "$out/$1" -crop "$plot_box" +repage txt:- | awk -v want="#$2" -v blue="#0000D4" '
    /^#/ { next }
    { split($1, at, "[,:]"); x = at[1]; y = at[2]; colour[x "," y] = $3; if (x > width) width = x
      if ($3 == blue) { if (top == "" || y < top) top = y; if (y > bottom) bottom = y } }
    END { middle = int((top + bottom) / 2); runs = 0; inside = 0
          for (x = 0; x <= width; x++) { is = colour[x "," middle] == want; if (is && !inside) runs++; inside = is }
          print runs }'
}
labelled_in_the_middle() {
  local rgb
  for rgb in 0000D4 DD0806 008011; do [ "$(runs_of "$1" "$rgb")" -eq 2 ] || return 1; done
}
shoot_until chart_equal_labels_stacked.png labelled_in_the_middle chart_equal_labels_stacked.png ||
  fail "the labels do not stand in the middles of their parts of the bar"

changes_screen "saving" keys ctrl+s
await_saved "$work/equal.qrv"
quit_app
start_app "$quorvin" "$work/equal.qrv"
convert "$out/chart_equal_labels_stacked.png" -crop "$chart_box" +repage "$work/before.png"
same_chart() {
  convert "$out/$1" -crop "$chart_box" +repage "$work/after.png" &&
    [ "$(compare -metric AE "$work/before.png" "$work/after.png" null: 2>&1)" = 0 ]
}
shoot_until chart_equal_labels_reopened.png same_chart chart_equal_labels_reopened.png ||
  fail "reopened, the chart or its labels look different"
quit_app
echo "chart equal labels: ok"
