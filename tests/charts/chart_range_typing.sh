#!/usr/bin/env bash
# A chart's data range typed with the chart selected, in the real program
# under Xvfb: the text shows in the entry line alone, never over the active
# cell (A1, empty), and Return gives the chart the typed range: only the
# first series is left (screenshots chart_range_typing_*.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/../app/app_script.bash"
source "$(dirname "$0")/../app/fruit_chart.bash"
start_fruit_session chart_range_typing_open.png

# The active cell A1 inside its grid lines, and the entry line's text.
active_cell_ink() { dark_pixels "$1" 70x14+37+112; }
entry_line_ink() { dark_pixels "$1" 200x14+142+50; }

keys shift+Down shift+Down shift+Down shift+Down shift+Right shift+Right
object_choice "$chart_kind_y" "$column_y"
click_at 330 140
shoot_until chart_range_typing_made.png has_second_series chart_range_typing_made.png || fail "no chart of two series drawn"
[ "$(active_cell_ink chart_range_typing_made.png)" -eq 0 ] || fail "A1 is not empty to begin with"

typed "=A1:B4"
typed_shown() { [ "$(entry_line_ink "$1")" -gt 20 ]; }
shoot_until chart_range_typing_typed.png typed_shown chart_range_typing_typed.png || fail "the entry line shows no range"
wait_for 30 screen_still || fail "the screen did not come to rest after typing"
shoot chart_range_typing_typed.png
[ "$(active_cell_ink chart_range_typing_typed.png)" -eq 0 ] || fail "the typed range is drawn over the active cell"

keys Return
one_series() { has_chart "$1" && ! has_second_series "$1"; }
shoot_until chart_range_typing_entered.png one_series chart_range_typing_entered.png ||
  fail "the chart did not take the typed range"
[ "$(active_cell_ink chart_range_typing_entered.png)" -eq 0 ] || fail "the range was left in the active cell"
quit_without_saving
echo "chart range typing: ok"
