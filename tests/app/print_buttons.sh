#!/usr/bin/env bash
# The Sheet bar's print buttons with the real program under Xvfb: with B3:C5
# selected, "Print selection" opens the Print dialog with Selection chosen and
# prints those cells alone; "Print window" opens it with the cells in the
# window chosen and prints what the window shows, not the rows below it.
# Screenshots print_buttons_*.png.
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
skip_without pdftotext
start_converter_session "$quorvin" 1024x768

# Sixty rows of six cells, each holding its own address as R<row>C<column>.
for row in $(seq 1 60); do
  line=
  for column in 1 2 3 4 5 6; do line+="${line:+,}R${row}C${column}"; done
  echo "$line"
done > "$work/cells.csv"
start_app "$quorvin" "$work/cells.csv"
shoot_until print_buttons_open.png has_document print_buttons_open.png || fail "no document window"

# The bar-switch arrow that shows the next bar; the Sheet bar is the fourth.
next_bar="26 27"
print_window_button="517 34"
print_selection_button="541 34"
for bar in 2 3 4; do changes_screen "showing bar $bar" xdotool mousemove $next_bar click 1; done
shoot print_buttons_sheet_bar.png

# The Print dialog, centred: its grey face; its page radio buttons; a radio
# button's blue when it is on.
dialog_shown() { [ "$(pixel "$1" 330 420)" = EEEEEE ]; }
dialog_gone() { ! dialog_shown "$1"; }
save_dialog_shown() { [ "$(pixel "$1" 700 300)" = FFFFFF ]; }
radio_on() { [ "$(pixel "$1" "$2" "$3")" = 3B7EE0 ]; }
all_radio="415 329"
selection_radio="415 381"
window_radio="515 381"

pdf="$work/cells.pdf"
written() { [ -s "$pdf" ] && tail -c 8 "$pdf" | grep -q '%%EOF'; }
# print_from_dialog SHOT: Print, then the name proposed; the PDF's text in $text.
text=
print_from_dialog() {
  rm -f "$pdf"
  keys Return
  shoot_until "$1" save_dialog_shown "$1" || fail "Print did not ask where to save"
  keys Return
  wait_for 60 written || fail "no PDF written: $(ls "$work")"
  text=$(pdftotext "$pdf" -) || fail "the PDF's text cannot be read"
}
# A button drawn enabled has the black outline of its picture (a dimmed one
# is grey); a hand waits for that before it clicks.
button_enabled() { [ "$(colour_pixels "$1" 000000 "20x20+$(($2 - 10))+24")" -gt 20 ]; }
click_button() {
  local x=$1 y=$2 shot=$3
  shoot_until "$shot" button_enabled "$shot" "$x" || fail "the button at $x, $y stays dimmed"
  changes_screen "clicking the button at $x, $y" xdotool mousemove "$x" "$y" click 1
}
printed() { grep -qw "$1" <<< "$text"; }

keys Right Down Down shift+Right shift+Down shift+Down
click_button $print_selection_button print_buttons_selection_ready.png
shoot_until print_buttons_selection.png dialog_shown print_buttons_selection.png || fail "no Print dialog"
radio_on print_buttons_selection.png $selection_radio || fail "the dialog opened without Selection chosen"
radio_on print_buttons_selection.png $all_radio && fail "the dialog opened with All chosen"
print_from_dialog print_buttons_selection_save.png
for cell in R3C2 R3C3 R5C2 R5C3; do printed $cell || fail "$cell of the selection did not print: $(tr '\n' '|' <<< "$text")"; done
for cell in R1C1 R2C2 R3C1 R3C4 R6C3; do printed $cell && fail "$cell outside the selection printed"; done

click_button $print_window_button print_buttons_window_ready.png
shoot_until print_buttons_window.png dialog_shown print_buttons_window.png || fail "no Print dialog"
radio_on print_buttons_window.png $window_radio || fail "the dialog opened without the window's cells chosen"
radio_on print_buttons_window.png $selection_radio && fail "the dialog opened with Selection chosen"
print_from_dialog print_buttons_window_save.png
for cell in R1C1 R1C6 R20C1; do printed $cell || fail "$cell in the window did not print: $(tr '\n' '|' <<< "$text")"; done
for cell in R60C1 R59C6; do printed $cell && fail "$cell below the window printed"; done

quit_without_saving
echo "print buttons: ok"
