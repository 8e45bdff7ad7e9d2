#!/usr/bin/env bash
# Menus used by hand in the real program under Xvfb:
# - Format clicked open, then a press on a cell dragged onto Percent and let go:
#   the press closes the menu and nothing is chosen (A1 keeps its 0.5);
# - the reference box still names the cell after a menu is dismissed with
#   Escape while the mouse stays on the menu bar.
# Screenshots menus_by_hand_*.png.
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
start_session 1024x768

start_app "$quorvin"
shoot_until menus_by_hand_start.png has_document menus_by_hand_start.png || fail "no untitled document"
dy=$(document_drop menus_by_hand_start.png)
a1_x=70 a1_y=$((66 + dy))
a1="60x10+42+$((a1_y - 5))"  # inside the cell, clear of its edges
reference_box="60x12+12+52"
key_delay=30

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
changes_screen "a press outside the menu" xdotool mousemove 440 $((a1_y + 150)) mousedown 1
glide 440 $((a1_y + 150)) "$percent_x" "$percent_y"
shoot menus_by_hand_pressed.png
menu_open menus_by_hand_pressed.png && fail "a press outside the menu left it open"
xdotool mouseup 1
wait_for 30 screen_still || fail "the screen did not come to rest after the release"
unchanged() { [ "$(dark_pixels "$1" "$a1")" = "$typed_dark" ]; }
shoot menus_by_hand_released.png
unchanged menus_by_hand_released.png || fail "the release over Percent chose it: A1 changed"

# A menu dismissed with Escape, the mouse resting on the menu bar.
xdotool mousemove 185 9 click 1
shoot_until menus_by_hand_format.png menu_open menus_by_hand_format.png || fail "the Format menu did not open again"
keys Escape
named() { ! menu_open "$1" && [ "$(dark_pixels "$1" "$reference_box")" -gt 5 ]; }
shoot_until menus_by_hand_escaped.png named menus_by_hand_escaped.png || fail "the reference box is blank after Escape"

quit_without_saving
echo "menus by hand: ok"
