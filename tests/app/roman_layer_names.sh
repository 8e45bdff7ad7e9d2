#!/usr/bin/env bash
# Layer > Rename Layer… in the real program under Xvfb, the name typed on
# keyboards of other scripts: Cyrillic and Japanese letters, which Roman cannot
# spell, bring an alert and the dialog back with the letters as typed, and the
# layer keeps its name; "Café" typed over them is kept letter for letter, as
# the event socket reads it (screenshots roman_layer_names_*.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
start_sender_session "$quorvin" 1024x768
start_socket_app roman_layer_names_open.png
key_delay=60

layer_name() { send get "name of layer 1 of document 1"; }
# View is at 436 on the menu bar, its Layers item at 197; Rename Layer… is the
# tenth item of that submenu.
rename_layer() { submenu_choice 436 450 700 197 387; }
# The alert's stop sign is drawn in this red near the middle of the screen.
stop_sign_shown() { [ "$(colour_pixels "$1" CC2222 400x200+250+180)" -gt 100 ]; }
type_name() {
  bind_letters "$1"
  changes_screen "typing the name" typed "$1"
}

refused_and_kept() {
  rename_layer
  type_name "$1"
  shoot "roman_layer_names_$2_typed.png"
  changes_screen "pressing OK" keys Return
  shoot "roman_layer_names_$2_alert.png"
  stop_sign_shown "roman_layer_names_$2_alert.png" || fail "no alert came up for the $2 name"
  changes_screen "dismissing the alert" keys Return
  shoot "roman_layer_names_$2_back.png"
  stop_sign_shown "roman_layer_names_$2_back.png" && fail "the alert for the $2 name stayed up"
}

refused_and_kept "Москва" cyrillic
[ "$(layer_name)" = "Layer 1" ] || fail "the Cyrillic name was stored as \"$(layer_name)\""
changes_screen "cancelling" keys Escape
[ "$(layer_name)" = "Layer 1" ] || fail "Cancel stored \"$(layer_name)\""

refused_and_kept "東京" japanese
type_name "Café"
changes_screen "pressing OK" keys Return
shoot roman_layer_names_renamed.png
[ "$(layer_name)" = "Café" ] || fail "Café typed over the Japanese name was stored as \"$(layer_name)\""

quit_without_saving
echo "Roman layer names: ok"
