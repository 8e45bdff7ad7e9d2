#!/usr/bin/env bash
# The command bar's font box, with the real program under Xvfb: blank while a
# formula is typed into a cell, and showing the cell's font again once it is
# entered (the entry's boxes beside it are redrawn as the entry ends).
# Screenshots font_box_*.png.
# Arguments: the quorvin binary and the build folder (the screenshots go there).
source "$(dirname "$0")/app_script.bash"
start_session 1024x768

# The font's name in the box, left of its pop-up arrow.
font_box_text() { dark_pixels "$1" 90x10+285+29; }
shows_font() { [ "$(font_box_text "$1")" -gt 10 ]; }
font_box_blank() { [ "$(font_box_text "$1")" -eq 0 ]; }

start_app "$quorvin"
await_document font_box_start.png
shoot_until font_box_start.png shows_font font_box_start.png || fail "no font in the font box of a new document"
typed "=1+1"
shoot_until font_box_formula.png font_box_blank font_box_formula.png ||
  fail "the font box showed a font while a formula was typed"
keys Return
shoot_until font_box_entered.png shows_font font_box_entered.png ||
  fail "the font box stayed blank after the formula was entered"
quit_without_saving
echo "font box: ok"
