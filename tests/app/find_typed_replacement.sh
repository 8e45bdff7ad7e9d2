#!/usr/bin/env bash
# Replace All in the real program under Xvfb, the replacement typed on a
# Cyrillic keyboard: an alert comes up and the cell keeps its text; "crème"
# typed over the replacement takes the place of the hit letter for letter, as
# the event socket reads the cell (screenshots find_roman_replacement_*.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
start_sender_session "$quorvin" 1024x768
start_socket_app find_roman_replacement_open.png
key_delay=60

send set "value of cell A1 of document 1" "Apple pie" >/dev/null || fail "A1 not set"
cell_a1() { send get "value of cell A1 of document 1"; }
# The Find window's content opens at (100, 138): Replace All at (412, 106) in it.
replace_all() { changes_screen "pressing Replace All" click_at 512 244; }
# The alert's stop sign is drawn in this red near the middle of the screen.
stop_sign_shown() { [ "$(colour_pixels "$1" CC2222 400x200+250+180)" -gt 100 ]; }
type_replacement() {
  bind_letters "$1"
  changes_screen "typing the replacement" typed "$1"
}

changes_screen "opening the Find window" keys ctrl+f
changes_screen "typing the search text" typed pie
keys Tab
type_replacement "Пирог"
shoot find_roman_replacement_typed.png
replace_all
shoot find_roman_replacement_alert.png
stop_sign_shown find_roman_replacement_alert.png || fail "no alert came up for the Cyrillic replacement"
[ "$(cell_a1)" = "Apple pie" ] || fail "the Cyrillic replacement was stored as \"$(cell_a1)\""
changes_screen "dismissing the alert" keys Return

keys ctrl+a
type_replacement "crème"
replace_all
shoot find_roman_replacement_replaced.png
stop_sign_shown find_roman_replacement_replaced.png && fail "an alert came up for a Roman replacement"
[ "$(cell_a1)" = "Apple crème" ] || fail "crème was stored as \"$(cell_a1)\""

keys Escape
quit_without_saving
echo "find Roman replacement: ok"
