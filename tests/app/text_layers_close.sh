#!/usr/bin/env bash
# Quit and Close of a changed CSV document with a second layer, with the real
# program under Xvfb: Save on the save question, OK on the question whether to
# leave the other layers out, then the note that they are not saved; the
# program neither quits nor closes the document, and the second layer is still
# there (screenshots text_layers_close_*.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
start_socket_session "$quorvin" 1024x768

printf 'Item,Amt\np,10\n' > "$work/two.csv"
start_socket_app text_layers_close_open.png "$work/two.csv"
send create layer "document 1" >/dev/null || fail "no second layer made"
send set "value of cell A1 of layer 2 of document 1" 99 || fail "the second layer's A1 not set"

# Questions and notes are alerts in the middle of the screen; the OK button of
# the caution question is right of Cancel, its default.
ok_x=656
ok_y=321
asked() { [ "$(pixel "$1" 512 300)" = EEEEEE ]; }
not_asked() { ! asked "$1"; }
layers_kept() { [ "$(send count "layers of document 1" 2>/dev/null)" = 2 ]; }

# save_through_questions NAME VALUE: Save on the save question, OK on leaving
# the other layers out (the file then holds VALUE in B2), Return on the note
# that follows.
save_through_questions() {
  shoot_until "text_layers_close_$1_save.png" asked "text_layers_close_$1_save.png" || fail "$1: no save question"
  keys Return
  shoot_until "text_layers_close_$1_layers.png" asked "text_layers_close_$1_layers.png" ||
    fail "$1: no question about the other layers"
  xdotool mousemove "$ok_x" "$ok_y" click 1
  wait_for 60 grep -q "^p,$2" "$work/two.csv" || fail "$1: the file was not written"
  shoot_until "text_layers_close_$1_note.png" asked "text_layers_close_$1_note.png" ||
    fail "$1: no note that the other layers are not saved"
  keys Return
  shoot_until "text_layers_close_$1_after.png" not_asked "text_layers_close_$1_after.png" ||
    fail "$1: Return left the note up"
}

send set "value of cell B2 of layer 1 of document 1" 11 || fail "B2 not set"
keys ctrl+q
save_through_questions quit 11
app_ended && fail "the program quit with the second layer unsaved"
layers_kept || fail "the second layer is gone after the quit"
has_document text_layers_close_quit_after.png || fail "the document closed on quitting"

send set "value of cell B2 of layer 1 of document 1" 12 || fail "B2 not set again"
keys ctrl+w
save_through_questions close 12
layers_kept || fail "the document closed with the second layer unsaved"
has_document text_layers_close_close_after.png || fail "the document window closed"

quit_without_saving
echo "text layers close: ok"
