#!/usr/bin/env bash
# A chart over labels in Cyrillic, Greek and Japanese, with the real program
# under Xvfb: the data cells selected from the keyboard, Object > Chart Kind >
# Column, a click in the sheet draws the chart; printed to PDF through the
# dialogs, the page's text carries each label twice, once in its cell and once
# in the chart's legend or below its columns, spelled as the cells show it.
# Screenshots chart_label_scripts_*.png.
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
source "$(dirname "$0")/fruit_chart.bash"
skip_without pdftotext

dialog_shown() { [ "$(pixel "$1" 330 420)" = EEEEEE ]; }
save_dialog_shown() { [ "$(pixel "$1" 700 300)" = FFFFFF ]; }

start_converter_session "$quorvin" 1024x768
printf ',Выручка,Κέρδος\nМай,10,45\nΊος,20,40\n東京,30,35\nČas,40,30\n' > "$work/labels.csv"
make_document "$work/labels.csv" "$work/labels.qrv"
start_app "$quorvin" "$work/labels.qrv"
shoot_until chart_label_scripts_open.png has_document chart_label_scripts_open.png || fail "no document window"

keys shift+Down shift+Down shift+Down shift+Down shift+Right shift+Right
object_choice "$chart_kind_y" "$column_y"
click_at 330 140
shoot_until chart_label_scripts_made.png has_chart chart_label_scripts_made.png || fail "no column chart drawn"

keys ctrl+p
shoot_until chart_label_scripts_print.png dialog_shown chart_label_scripts_print.png || fail "no Print dialog"
keys Return
shoot_until chart_label_scripts_save.png save_dialog_shown chart_label_scripts_save.png || fail "Print did not ask where to save"
keys Return  # the name proposed
pdf="$work/labels.pdf"
written() { [ -s "$pdf" ] && tail -c 8 "$pdf" | grep -q '%%EOF'; }
wait_for 60 written || fail "no PDF written under the document's name: $(ls "$work")"
text=$(pdftotext -enc UTF-8 "$pdf" -) || fail "the PDF's text cannot be read"
for label in Выручка Κέρδος Май Ίος 東京 Čas; do
  count=$(grep -oF "$label" <<< "$text" | wc -l)
  [ "$count" -ge 2 ] || fail "the chart does not show $label as its cell does ($count in the PDF): $(tr '\n' '|' <<< "$text")"
done
quit_without_saving
echo "chart label scripts: ok"
