#!/usr/bin/env bash
# Printing to PDF through the dialogs, with the real program under Xvfb: a
# CSV document is opened, Page Setup turns the page to landscape at 50 per
# cent, Print with "Save as PDF" asks where to save, proposing the document's
# Japanese name, and writes a one-page landscape PDF under it whose page
# shows the cells and carries their text, Japanese too. Screenshots
# print_to_pdf_*.png.
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
skip_without pdfinfo pdftoppm pdftotext
start_converter_session "$quorvin" 1024x768

# The dialogs, centred on the screen: their grey face left of the middle; the
# Save dialog's white file list on the right.
dialog_shown() { [ "$(pixel "$1" 330 420)" = EEEEEE ]; }
dialog_gone() { ! dialog_shown "$1"; }
save_dialog_shown() { [ "$(pixel "$1" 700 300)" = FFFFFF ]; }

printf 'Name,Qty,Price\nApples,12,0.5\nPears,7,0.75\nPlums,30,0.2\n梨,4,1.25\n' > "$work/果物.csv"
start_app "$quorvin" "$work/果物.csv"
shoot_until print_to_pdf_open.png has_document print_to_pdf_open.png || fail "no document window"

keys ctrl+shift+p
shoot_until print_to_pdf_page_setup.png dialog_shown print_to_pdf_page_setup.png || fail "no Page Setup dialog"
typed 50
# Landscape: the second orientation button.
xdotool mousemove 530 310 sleep 0.1 mousemove 540 318 sleep 0.1 mousemove 543 322 click 1
landscape_on() { [ "$(pixel "$1" 543 322)" = 3B7EE0 ]; }
shoot_until print_to_pdf_landscape.png landscape_on print_to_pdf_landscape.png || fail "Landscape was not chosen"
keys Return
shoot_until print_to_pdf_set.png dialog_gone print_to_pdf_set.png || fail "Page Setup did not close"

keys ctrl+p
shoot_until print_to_pdf_print.png dialog_shown print_to_pdf_print.png || fail "no Print dialog"
keys Return
shoot_until print_to_pdf_save.png save_dialog_shown print_to_pdf_save.png || fail "Print did not ask where to save"
keys Return  # the name proposed
pdf="$work/果物.pdf"
# Written whole: the file ends with the end-of-file mark.
written() { [ -s "$pdf" ] && tail -c 8 "$pdf" | grep -q '%%EOF'; }
wait_for 60 written || fail "no PDF written under the document's name: $(ls "$work")"
info=$(pdfinfo "$pdf")
grep -q "^Pages: *1$" <<< "$info" || fail "the PDF has not one page: $info"
grep -q "792 x 612 pts" <<< "$info" || fail "the page is not letter landscape: $info"
pdftoppm -r 72 -png "$pdf" "$out/print_to_pdf_page" || fail "the PDF cannot be read"
ink=$(convert "$out/print_to_pdf_page-1.png" -crop 200x60+30+30 -threshold 50% -format "%[fx:round(w*h*(1-mean))]" info:)
[ "$ink" -gt 100 ] || fail "the page shows no cells at its top left ($ink dark pixels)"
text=$(pdftotext -enc UTF-8 "$pdf" -) || fail "the PDF's text cannot be read"
for word in Apples Plums 梨 1.25; do
  grep -qF "$word" <<< "$text" || fail "the PDF's text lacks $word: $(tr '\n' '|' <<< "$text")"
done
quit_without_saving  # the page setup changed the document
echo "print to pdf: ok"
