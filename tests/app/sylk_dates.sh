#!/usr/bin/env bash
# Times, durations and dates through SYLK with the real program under Xvfb: the
# SYLK file of a 1900-system workbook whose time cells hold 0.5, 1.5 (36
# hours), 1461.5 and 1462.5, and that of a 1904-system workbook whose dates
# begin on 1 January 1904, each opened, given a new cell and saved by Ctrl-S;
# the converter reads every number back as it was, and reading the saved file
# and writing it again gives the same file (screenshots sylk_dates_*.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
start_converter_session "$quorvin" 1024x768

printf 'ID;PQUORVIN;N;E;B0\r\nP;Ph:mm\r\nF;P0;FG0D;Y1;X1\r\nC;Y1;X1;K0.5\r\nF;P0;FG0D;Y1;X2\r\nC;X2;K1.5\r\n%b\r\n' \
  'F;P0;FG0D;Y1;X3\r\nC;X3;K1461.5\r\nF;P0;FG0D;Y1;X4\r\nC;X4;K1462.5\r\nE' > "$work/times.slk"
printf '1/1/1904,1/2/1904,3/15/2024,"=DATE(1904,1,1)"\r\n' > "$work/dates.csv"
"$sheetconv" "$work/dates.csv" "$work/dates.slk" || fail "the converter made no SYLK file"

# Opens the SYLK file, types x into A2 and saves it with Ctrl-S.
open_change_and_save() {
  local file=$work/$1.slk
  saved_size=$(stat -c %s "$file")
  start_app "$quorvin" "$file"
  shoot_until "sylk_dates_$1.png" has_document "sylk_dates_$1.png" || fail "no document window for $1.slk"
  keys Down
  typed x
  keys Return
  keys ctrl+s
  await_saved "$file"
  quit_app
}

open_change_and_save times
read_saved_rows --values "$work/times.slk"
[ "$saved_rows" = $'0.5,1.5,1461.5,1462.5\nx' ] || fail "the times read back as: $(tr '\n' '|' <<< "$saved_rows")"
open_change_and_save dates
read_saved_rows --values "$work/dates.slk"
[ "$saved_rows" = $'0,1,43904,0\nx' ] || fail "the dates read back as: $(tr '\n' '|' <<< "$saved_rows")"
for name in times dates; do
  "$sheetconv" "$work/$name.slk" "$work/$name.again.slk" || fail "the converter cannot read the saved $name.slk"
  cmp -s "$work/$name.slk" "$work/$name.again.slk" || fail "$name.slk is written otherwise a second time"
done
echo "sylk dates: ok"
