#!/usr/bin/env bash
# Save of a CSV document with a second layer in front, with the real program
# under Xvfb: a layer made through the event socket holds a value and shows;
# Ctrl-S asks whether to leave the other layers out, Return answers Cancel and
# the file stays as it was; asked again, OK writes the layer the file was
# read into (with a value changed), not the one in front (screenshots text_layer_save_*.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
start_socket_session "$quorvin" 1024x768

printf 'Item,Amt\r\np,10\r\nq,20\r\nr,30\r\ns,40\r\n' > "$work/data.csv"
cp "$work/data.csv" "$work/data.original"
start_socket_app text_layer_save_open.png "$work/data.csv"

send set "value of cell B2 of layer 1 of document 1" 11 || fail "the first layer's B2 not set"
send create layer "document 1" >/dev/null || fail "no second layer made"
send set "value of cell A1 of layer 2 of document 1" 99 || fail "the second layer's A1 not set"
# The second layer shows: A1 of the first layer ("Item") is no longer drawn.
second_shown() { [ "$(dark_pixels "$1" 40x12+36+113)" -lt "$((item_pixels / 2))" ]; }
item_pixels=$(dark_pixels text_layer_save_open.png 40x12+36+113)
[ "$item_pixels" -gt 10 ] || fail "A1 shows no text on the first layer"
shoot_until text_layer_save_second.png second_shown text_layer_save_second.png || fail "the second layer is not in front"

# The question is a caution alert in the middle of the screen; its OK button
# is right of Cancel, the default.
ok_x=656
ok_y=321
asked() { [ "$(pixel "$1" 512 300)" = EEEEEE ]; }
not_asked() { ! asked "$1"; }
keys ctrl+s
shoot_until text_layer_save_asked.png asked text_layer_save_asked.png || fail "Ctrl-S asked nothing"
keys Return
shoot_until text_layer_save_cancelled.png not_asked text_layer_save_cancelled.png || fail "Return left the question up"
cmp -s "$work/data.csv" "$work/data.original" || fail "Return on the question wrote the file"

keys ctrl+s
shoot_until text_layer_save_asked_again.png asked text_layer_save_asked_again.png || fail "Ctrl-S asked nothing the second time"
xdotool mousemove "$ok_x" "$ok_y" click 1
written() { ! cmp -s "$work/data.csv" "$work/data.original"; }
wait_for 60 written || fail "OK did not write the file"
expected=$(printf 'Item,Amt\np,11\nq,20\nr,30\ns,40')
[ "$(tr -d '\r' < "$work/data.csv")" = "$expected" ] ||
  fail "the file does not hold the layer it was read into: $(tr '\r\n' '  ' < "$work/data.csv")"
# The note that the other layers are not saved, then a quit without saving them.
shoot_until text_layer_save_note.png asked text_layer_save_note.png || fail "no note of the layers left out"
keys Return
shoot_until text_layer_save_noted.png not_asked text_layer_save_noted.png || fail "Return left the note up"
quit_without_saving
echo "text layer save: ok"
