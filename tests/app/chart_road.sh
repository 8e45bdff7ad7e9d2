#!/usr/bin/env bash
# Makes a chart with the real program under Xvfb: the data cells selected from
# the keyboard, Object > Chart Kind > Column, a click in the sheet draws the
# column chart there; Object > Chart Options > Grid Lines adds its grid, Ctrl-Z
# takes it away and Shift-Ctrl-Z brings it back; a range typed into the entry
# line with the chart selected narrows its data; Ctrl-S saves and the chart is
# drawn again when the document opens (screenshots chart_road_*.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
source "$(dirname "$0")/fruit_chart.bash"
start_fruit_session chart_road_open.png

keys shift+Down shift+Down shift+Down shift+Down shift+Right shift+Right
object_choice "$chart_kind_y" "$column_y"
click_at 330 140
shoot_until chart_road_made.png has_chart chart_road_made.png || fail "no column chart drawn"
has_grid chart_road_made.png && fail "grid lines before they were asked for"
object_choice "$chart_options_y" "$grid_lines_y"
shoot_until chart_road_grid.png has_grid chart_road_grid.png || fail "Grid Lines drew no grid"
no_grid() { ! has_grid "$1"; }
keys ctrl+z
shoot_until chart_road_undone.png no_grid chart_road_undone.png || fail "Undo left the grid lines"
keys ctrl+shift+z
shoot_until chart_road_redone.png has_grid chart_road_redone.png || fail "Redo did not bring the grid lines back"

# The first series alone: the second series' red goes.
narrower() { ! has_second_series "$1"; }
has_second_series chart_road_redone.png || fail "no second series to begin with"
keys equal shift+a 1 colon shift+b 3 Return
shoot_until chart_road_range.png narrower chart_road_range.png || fail "the typed range did not narrow the chart"
keys ctrl+z
shoot_until chart_road_range_undone.png has_chart chart_road_range_undone.png || fail "Undo lost the chart"
narrower chart_road_range_undone.png && fail "Undo did not give the chart its data range back"
keys ctrl+s

await_saved "$work/fruit.qrv"
quit_app

start_app "$quorvin" "$work/fruit.qrv"
shoot_until chart_road_reopened.png has_grid chart_road_reopened.png || fail "the saved chart is not drawn again"
has_chart chart_road_reopened.png || fail "the saved chart lost its columns"
quit_app
echo "chart road: ok"
