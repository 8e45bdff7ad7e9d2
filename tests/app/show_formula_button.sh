#!/usr/bin/env bash
# The Formatting bar's Show formula button with the real program under Xvfb:
# its tag says what it does (show_formula_button_tag.png shows the tag and the
# button's picture), a click makes the cell show its formula, and the saved
# document keeps that format: the converter reads "=2+3" as the shown text.
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
start_converter_session "$quorvin" 1024x768

: > "$work/empty.csv"
make_document "$work/empty.csv" "$work/formula.qrv"
start_app "$quorvin" "$work/formula.qrv"
shoot_until show_formula_button_open.png has_document show_formula_button_open.png || fail "no document window"

# The bar-switch arrow that shows the next bar, the Formatting bar; its Show
# formula button, right of the General format button.
next_bar="26 27"
show_formula_button="579 34"
typed "=2+3"
keys Return Up
changes_screen "showing the Formatting bar" xdotool mousemove $next_bar click 1

# The tag's pale yellow below the button.
tag_shown() {
  [ "$(convert "$out/$1" -crop 200x30+540+45 -fill black +opaque "#FFFFCC" -fill white -opaque "#FFFFCC" \
    -format "%[fx:round(w*h*mean)]" info:)" -gt 100 ]
}
xdotool mousemove 575 34
sleep 0.2
xdotool mousemove $show_formula_button
shoot_until show_formula_button_tag.png tag_shown show_formula_button_tag.png || fail "no tag under the button"
changes_screen "clicking Show formula" xdotool click 1
shoot show_formula_button_clicked.png
keys ctrl+s
await_saved "$work/formula.qrv"
quit_app

read_saved_rows --shown "$work/formula.qrv"
[ "$saved_rows" = "=2+3" ] || fail "the cell does not show its formula: $(tr '\n' '|' <<< "$saved_rows")"
echo "show formula button: ok"
