#!/usr/bin/env bash
# Formats typed cells with the real program under Xvfb: 1234.5 in A1 gets the
# dollar currency from Format > Currency, a date in A2 the four-digit-year
# layout from Format > Date and bold from the command bar's button; Ctrl-S
# saves, the program opens the document again, and the converter reads the
# texts as the sheet shows them (screenshots format_road_*.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
start_converter_session "$quorvin" 1024x768

: > "$work/empty.csv"
make_document "$work/empty.csv" "$work/format.qrv"

start_app "$quorvin" "$work/format.qrv"
shoot_until format_road_open.png has_document format_road_open.png || fail "no document window"

currency_y=179
date_y=200
dollar_y=179
four_digit_year_y=$((date_y + 6 * 21))
bold_button="467 33"

typed 1234.5; keys Return
typed 3/14/2026; keys Return
keys Up Up
format_choice "$currency_y" "$dollar_y"
keys Down
format_choice "$date_y" "$four_digit_year_y"
xdotool mousemove $bold_button click 1
shoot format_road_formatted.png
keys ctrl+s

await_saved "$work/format.qrv"
quit_app

start_app "$quorvin" "$work/format.qrv"
shoot_until format_road_reopened.png has_document format_road_reopened.png || fail "the saved document does not open"
quit_app

read_saved_rows --shown "$work/format.qrv"
[ "$saved_rows" = $'$1234.5\n3/14/2026' ] || fail "shown texts differ: $(tr '\n' '|' <<< "$saved_rows")"
echo "format road: ok"
