#!/usr/bin/env bash
# Menus used by hand in the real program under Xvfb:
# - Format clicked open, then a press on a cell dragged onto Percent and let go:
#   the press closes the menu and nothing is chosen (A1 keeps its 0.5);
# - the reference box still names the cell after a menu is dismissed with
#   Escape while the mouse stays on the menu bar;
# - Preferences' default-font pop-up, pressed for a while and let go in place,
#   keeps its font though the long menu moved to fit on the screen.
# Screenshots menus_by_hand_*.png.
# Arguments: the quorvin binary and the build folder (screenshots go there).
set -uo pipefail
quorvin=$1
out=${2:-.}
source "$(dirname "$0")/xvfb_session.bash"
start_session 1024x768

start_app "$quorvin"
shoot_until menus_by_hand_start.png has_document menus_by_hand_start.png || fail "no untitled document"
dy=$(document_drop menus_by_hand_start.png)
a1_x=70 a1_y=$((66 + dy))
a1="60x10+42+$((a1_y - 5))"  # inside the cell, clear of its edges
reference_box="60x12+12+52"
keys() { xdotool key --window "$window" --delay 30 "$@"; }

xdotool mousemove "$a1_x" "$a1_y" click 1
xdotool type --window "$window" --delay 30 0.5
keys Return
xdotool mousemove "$a1_x" "$a1_y" click 1
typed() { [ "$(dark_pixels "$1" "$a1")" -gt 5 ]; }
shoot_until menus_by_hand_typed.png typed menus_by_hand_typed.png || fail "0.5 is not shown in A1"
typed_dark=$(dark_pixels menus_by_hand_typed.png "$a1")

# Format stays open after a click on its title; Percent is its 13th row.
percent_x=195 percent_y=284
percent_text="80x12+170+278"
xdotool mousemove 185 9 click 1
menu_open() { [ "$(dark_pixels "$1" "$percent_text")" -gt 20 ]; }
shoot_until menus_by_hand_format.png menu_open menus_by_hand_format.png || fail "the Format menu did not stay open"
xdotool mousemove 440 $((a1_y + 150)) mousedown 1
sleep 0.3
glide 440 $((a1_y + 150)) "$percent_x" "$percent_y"
sleep 0.3
shoot menus_by_hand_pressed.png
xdotool mouseup 1
menu_open menus_by_hand_pressed.png && fail "a press outside the menu left it open"
unchanged() { [ "$(dark_pixels "$1" "$a1")" = "$typed_dark" ]; }
xdotool mousemove "$a1_x" "$a1_y"
sleep 0.5
shoot menus_by_hand_released.png
unchanged menus_by_hand_released.png || fail "the release over Percent chose it: A1 changed"

# A menu dismissed with Escape, the mouse resting on the menu bar.
xdotool mousemove 185 9 click 1
shoot_until menus_by_hand_format.png menu_open menus_by_hand_format.png || fail "the Format menu did not open again"
keys Escape
sleep 0.5
named() { ! menu_open "$1" && [ "$(dark_pixels "$1" "$reference_box")" -gt 5 ]; }
shoot_until menus_by_hand_escaped.png named menus_by_hand_escaped.png || fail "the reference box is blank after Escape"

# The default-font pop-up of Preferences, pressed for a while and let go in place.
keys ctrl+comma
font_box="150x14+430+251"
prefs_open() { [ "$(dark_pixels "$1" "$font_box")" -gt 20 ]; }
shoot_until menus_by_hand_prefs.png prefs_open menus_by_hand_prefs.png || fail "no Preferences dialog"
font_dark=$(dark_pixels menus_by_hand_prefs.png "$font_box")
xdotool mousemove 550 258 mousedown 1
sleep 0.8
xdotool mouseup 1
sleep 0.5
shoot menus_by_hand_font_menu.png
keys Escape
same_font() { [ "$(dark_pixels "$1" "$font_box")" = "$font_dark" ]; }
shoot_until menus_by_hand_font_kept.png same_font menus_by_hand_font_kept.png || fail "a press and release in place changed the default font"
keys Escape

quit_without_saving
echo "menus by hand: ok"
