#!/usr/bin/env bash
# Dates past the calendar's last day (6 February 2040) with the real program
# under Xvfb: a typed date, a formula a day after it and the day before it,
# all three in the month/day/year layout of Format > Date; Ctrl-S saves, and the converter reads the texts as the sheet shows them:
# the formula past the last day shows its number, never 2/6/40 again, and
# YEAR gives the year of that later day (screenshot dates_past_the_calendar.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
start_converter_session "$quorvin" 1024x768

: > "$work/empty.csv"
make_document "$work/empty.csv" "$work/dates.qrv"

start_app "$quorvin" "$work/dates.qrv"
shoot_until dates_past_the_calendar_open.png has_document dates_past_the_calendar_open.png || fail "no document window"

date_y=200
month_day_year_y=$date_y

typed 2/6/2040; keys Return
typed =A1+1; keys Return
typed =A1-1; keys Return
typed '=YEAR(A2)'; keys Return
keys Up Up Up Up shift+Down shift+Down
format_choice "$date_y" "$month_day_year_y"
shoot dates_past_the_calendar.png
keys ctrl+s
await_saved "$work/dates.qrv"
quit_app

read_saved_rows --shown "$work/dates.qrv"
[ "$saved_rows" = $'2/6/40\n49711\n2/5/40\n2040' ] || fail "shown texts differ: $(tr '\n' '|' <<< "$saved_rows")"
echo "dates past the calendar: ok"
