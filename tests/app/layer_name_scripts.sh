#!/usr/bin/env bash
# Layer > Rename Layer… in the real program under Xvfb, a name of Latin and
# Japanese letters: "café東京" typed on two keyboards, and pasted from another
# program's clipboard, reads as typed in the field, brings an alert for its
# Japanese letters and leaves the layer's name as it was; "café" typed is kept
# letter for letter, as the event socket reads it and as Ctrl-S writes it
# in the document (screenshots layer_name_scripts_*.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
skip_without xclip
start_socket_session "$quorvin" 1024x768

printf 'x\r\n' > "$work/named.csv"
make_document "$work/named.csv" "$work/named.qrv"
LC_ALL=C grep -q $'caf\x8e' "$work/named.qrv" && fail "the new document already holds café"
start_socket_app layer_name_scripts_open.png "$work/named.qrv"
key_delay=60

layer_name() { send get "name of layer 1 of document 1"; }
# View is at 436 on the menu bar, its Layers item at 197; Rename Layer… is the
# tenth item of that submenu.
rename_layer() { submenu_choice 436 450 700 197 387; }
# The alert's stop sign is drawn in this red near the middle of the screen.
stop_sign_shown() { [ "$(colour_pixels "$1" CC2222 400x200+250+180)" -gt 100 ]; }
clipboard_is() { [ "$(xclip -selection clipboard -o 2>/dev/null)" = "$1" ]; }
another_program_copies() {
  printf '%s' "$1" | xclip -selection clipboard -t UTF8_STRING 2>/dev/null
  wait_for 10 clipboard_is "$1" || fail "xclip did not take the clipboard"
}

# OK on the name in the field: the alert comes up, and goes on Return; Escape
# then cancels the dialog.
refused() {
  changes_screen "pressing OK" keys Return
  shoot "layer_name_scripts_$1_alert.png"
  stop_sign_shown "layer_name_scripts_$1_alert.png" || fail "no alert came up for the $1 name"
  changes_screen "dismissing the alert" keys Return
  changes_screen "cancelling" keys Escape
  [ "$(layer_name)" = "Layer 1" ] || fail "the $1 name was stored as \"$(layer_name)\""
}

bind_letters "café東京"
rename_layer
changes_screen "typing café" typed "café"
changes_screen "typing 東京" typed "東京"
shoot layer_name_scripts_typed.png
refused typed

another_program_copies "café東京"
rename_layer
changes_screen "the paste" keys ctrl+v
shoot layer_name_scripts_pasted.png
refused pasted

rename_layer
changes_screen "typing café" typed "café"
changes_screen "pressing OK" keys Return
shoot layer_name_scripts_renamed.png
[ "$(layer_name)" = "café" ] || fail "café was stored as \"$(layer_name)\""

# The name is written in Mac Roman in a field of its own size: the file's
# size stays, so the save shows in what it holds.
saved_with_name() { LC_ALL=C grep -q $'caf\x8e' "$work/named.qrv"; }
keys ctrl+s
wait_for 60 saved_with_name || fail "Ctrl-S wrote no layer named café in Mac Roman"
LC_ALL=C grep -q $'caf\x8e\x93' "$work/named.qrv" && fail "the saved document holds the name followed by other bytes"

quit_without_saving
echo "layer name scripts: ok"
