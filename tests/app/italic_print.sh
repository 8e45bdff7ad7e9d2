#!/usr/bin/env bash
# Italic cells printed with the real program under Xvfb: in a CSV document A2
# is made italic and A3 bold italic with the command bar's buttons, and Print
# with "Save as PDF" writes a page whose fonts are the oblique faces, as the
# screen shows them slanted (screenshots italic_print_*.png, the printed page
# italic_print_page-1.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
skip_without pdffonts pdftoppm
start_converter_session "$quorvin" 1024x768

dialog_shown() { [ "$(pixel "$1" 330 420)" = EEEEEE ]; }
save_dialog_shown() { [ "$(pixel "$1" 700 300)" = FFFFFF ]; }
bold_button="469 34"
italic_button="493 34"

printf 'Upright\nSlanted\nBold and slanted\n' > "$work/faces.csv"
start_app "$quorvin" "$work/faces.csv"
shoot_until italic_print_open.png has_document italic_print_open.png || fail "no document window"

keys Down
changes_screen "clicking Italic" xdotool mousemove $italic_button click 1
keys Down
changes_screen "clicking Bold" xdotool mousemove $bold_button click 1
changes_screen "clicking Italic" xdotool mousemove $italic_button click 1
shoot italic_print_screen.png

keys ctrl+p
shoot_until italic_print_dialog.png dialog_shown italic_print_dialog.png || fail "no Print dialog"
keys Return
shoot_until italic_print_save.png save_dialog_shown italic_print_save.png || fail "Print did not ask where to save"
keys Return
pdf="$work/faces.pdf"
written() { [ -s "$pdf" ] && tail -c 8 "$pdf" | grep -q '%%EOF'; }
wait_for 60 written || fail "no PDF written: $(ls "$work")"
pdftoppm -r 72 -png "$pdf" "$out/italic_print_page" || fail "the PDF cannot be read"
fonts=$(pdffonts "$pdf") || fail "pdffonts cannot read the PDF"
grep -q 'DejaVuSans-Oblique ' <<< "$fonts" || fail "the italic cell printed upright: $fonts"
grep -q 'DejaVuSans-BoldOblique ' <<< "$fonts" || fail "the bold italic cell did not print bold and slanted: $fonts"
grep -q 'DejaVuSans ' <<< "$fonts" || fail "the upright cell did not print upright: $fonts"
quit_without_saving
echo "italic print: ok"
