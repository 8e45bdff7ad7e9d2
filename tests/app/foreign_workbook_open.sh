#!/usr/bin/env bash
# Workbooks of kinds Quorvin does not read, with the real program under Xvfb:
# an .xlsx given on the command line, and an .ods chosen in the Open dialog
# (its file filter hides it, so its path is typed), are refused at once by a
# stop alert with its one OK button that says which kinds Quorvin reads; no
# question about converting an older document comes first or after, no copy
# is made beside the file and the file is left as it was. Screenshots
# foreign_workbook_*.png.
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
start_converter_session "$quorvin" 1024x768

# The zipped workbooks of other spreadsheets begin "PK", 3, 4: read as a
# document's marker and version that is 772, an older version's number.
printf 'PK\003\004\024\000\010\010\010\000rest of a zipped workbook' > "$work/prices.xlsx"
cp "$work/prices.xlsx" "$work/prices.ods"
cp "$work/prices.xlsx" "$work/original"

# The alert's face is light grey in the middle of the screen. A stop alert
# shows its red icon and its OK alone; the question about converting an older
# document has a caution icon and Cancel left of OK.
alert_shown() { [ "$(pixel "$1" 512 300)" = EEEEEE ]; }
stop_alert() { alert_shown "$1" && [ "$(pixel "$1" 350 258)" = CC2222 ] && [ "$(pixel "$1" 580 321)" = EEEEEE ]; }
no_alert() { ! alert_shown "$1"; }
untouched() {
  cmp -s "$work/prices.xlsx" "$work/original" && cmp -s "$work/prices.ods" "$work/original" &&
    [ "$(ls "$work" | wc -l)" = 3 ]
}

# refused KIND: a stop alert refuses the file, and once it is closed no other
# alert follows.
refused() {
  shoot_until "foreign_workbook_$1.png" alert_shown "foreign_workbook_$1.png" || fail "no alert refused the .$1"
  stop_alert "foreign_workbook_$1.png" || fail "the .$1 was not refused by a stop alert"
  changes_screen "closing the alert" keys Return
  wait_for 30 screen_still || fail "the screen did not come to rest"
  shoot "foreign_workbook_$1_closed.png"
  no_alert "foreign_workbook_$1_closed.png" || fail "another alert followed the refusal of the .$1"
}

# The .xlsx given on the command line.
start_app "$quorvin" "$work/prices.xlsx"
refused xlsx
has_document foreign_workbook_xlsx_closed.png && fail "a document window opened"

# The .ods chosen in the Open dialog, by the path typed in its Go to field.
open_dialog() { [ "$(pixel "$1" 700 300)" = FFFFFF ]; }
keys ctrl+o
shoot_until foreign_workbook_dialog.png open_dialog foreign_workbook_dialog.png || fail "Ctrl-O brought up no Open dialog"
typed "$work/prices.ods"
keys Return
refused ods
untouched || fail "the files changed or a copy was made beside them: $(ls "$work")"
quit_app
echo "foreign workbook open: ok"
