#!/usr/bin/env bash
# Replace and Replace All in the real program under Xvfb, the replacement
# typed on a Cyrillic keyboard, then "crème" typed over it: each takes the
# place of the hit letter for letter, without an alert, as the event socket
# reads the cells (screenshots find_typed_replacement_*.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
start_sender_session "$quorvin" 1024x768
start_socket_app find_typed_replacement_open.png
key_delay=60

send set "value of cell A1 of document 1" "Apple pie" >/dev/null || fail "A1 not set"
send set "value of cell A2 of document 1" "cherry pie" >/dev/null || fail "A2 not set"
cell() { send get "value of cell $1 of document 1"; }
# The Find window's content opens at (100, 138): Find Next at (412, 22) in it,
# Replace at (412, 50) and Replace All at (412, 106).
find_next() { changes_screen "pressing Find Next" click_at 512 160; }
replace() { changes_screen "pressing Replace" click_at 512 188; }
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
find_next
shoot find_typed_replacement_typed.png
replace
shoot find_typed_replacement_replaced.png
stop_sign_shown find_typed_replacement_replaced.png && fail "an alert came up for the Cyrillic replacement"
[ "$(cell A1)" = "Apple Пирог" ] || fail "the Cyrillic replacement was stored as \"$(cell A1)\""

keys ctrl+a
type_replacement "crème"
replace_all
shoot find_typed_replacement_replaced_all.png
stop_sign_shown find_typed_replacement_replaced_all.png && fail "an alert came up for a Roman replacement"
[ "$(cell A2)" = "cherry crème" ] || fail "crème was stored as \"$(cell A2)\""
[ "$(cell A1)" = "Apple Пирог" ] || fail "A1 now holds \"$(cell A1)\""

keys Escape
quit_without_saving
echo "find typed replacement: ok"
