#!/usr/bin/env bash
# An Excel workbook written by LibreOffice (data/prices_libreoffice.xls: 2.50 in
# euros, 3.25 in zloty, 4.75 in pounds, a text of two lines, a comment in
# Roman and one in Cyrillic, a second sheet named in Cyrillic), opened with the
# real program under Xvfb: three notes come first (the amount without its
# currency, the comment left out, the sheet named after its place), then the
# document; saved, the document shows the euros and pounds as such and the
# zloty amount with its decimals, never as dollars, and keeps the Roman
# comment as the note of its cell. Screenshots excel_prices_*.png.
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
start_converter_session "$quorvin" 1024x768
cp "$(dirname "$0")/data/prices_libreoffice.xls" "$work/prices.xls"

# A note is an alert with the blue note icon in the middle of the screen.
note_shown() { [ "$(pixel "$1" 512 300)" = EEEEEE ] && [ "$(pixel "$1" 350 258)" = 2E61C2 ]; }
start_app "$quorvin" "$work/prices.xls"
for note in currencies comments sheets; do
  shoot_until "excel_prices_$note.png" note_shown "excel_prices_$note.png" || fail "no note of the $note"
  changes_screen "closing the note" keys Return
done
shoot_until excel_prices_open.png has_document excel_prices_open.png || fail "no document window"

# Saved as a Quorvin document (the Save dialog comes up: the workbook was read
# with losses, so its file is not written over unasked).
save_dialog_shown() { [ "$(pixel "$1" 700 300)" = FFFFFF ]; }
keys ctrl+s
shoot_until excel_prices_save.png save_dialog_shown excel_prices_save.png || fail "Ctrl-S brought up no Save dialog"
keys Return  # the name proposed, prices.qrv, in Quorvin's own format
saved() { [ -s "$work/prices.qrv" ]; }
wait_for 60 saved || fail "the document was not saved"
"$sheetconv" --shown --layer 1 "$work/prices.qrv" "$work/shown.txt" 2>/dev/null
[ -s "$work/shown.txt" ] || fail "the saved document could not be read"
first_row=$(head -1 "$work/shown.txt" | tr -d '\r')
[ "$first_row" = "$(printf '€2.50\t3.25\t£4.75')" ] || fail "the saved prices show as: $first_row"
quit_app
echo "excel prices: ok"
