#!/usr/bin/env bash
# A document whose file is renamed, then moved into a folder, while it is open,
# with the real program under Xvfb: each time the document takes the new name,
# Ctrl-S writes the file where it now is, and the document stays open and goes
# on following its file (screenshots save_after_move_*.png). A text document
# changed and moved into another folder before it was ever saved is followed
# alike: not taken for deleted, and saved where it went, with no second copy
# left at its old place.
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
start_socket_session "$quorvin" 1024x768

printf 'Item,Amt\np,10\n' > "$work/n.csv"
make_document "$work/n.csv" "$work/n.qrv"
start_socket_app save_after_move_open.png "$work/n.qrv"

# named NAME: the one open document answers to NAME.
named() { send get "value of cell A1 of document \"$1\"" >/dev/null 2>&1; }
# moved FROM TO: the file moved while the program rests; the document follows
# it, its title redrawn. (The screen is watched rather than the socket: the
# program follows files while idle, which steady requests would put off.)
moved() {
  wait_for 30 screen_still || fail "the screen did not come to rest before moving $1"
  changes_screen "moving $1 to $2" mv "$work/$1" "$work/$2"
  named "$(basename "$2")" || fail "the document did not take the name $(basename "$2")"
}
# moved_and_saved FROM TO VALUE: the file moved, the document follows; B2 set
# to VALUE and saved with Ctrl-S into the file's new place.
moved_and_saved() {
  moved "$1" "$2"
  cp "$work/$2" "$work/before.qrv"
  send set "value of cell B2 of document 1" "$3" || fail "B2 not set to $3"
  keys ctrl+s
  wait_for 60 written_anew "$work/$2" || fail "Ctrl-S did not write $2"
  [ "$(send count documents)" = 1 ] || fail "the document closed after saving $2"
}
written_anew() { ! cmp -s "$1" "$work/before.qrv"; }

moved_and_saved n.qrv n2.qrv 11
mkdir "$work/sub"
moved_and_saved n2.qrv sub/n3.qrv 12
# Still followed after the saves: renamed again, the document takes the name.
moved sub/n3.qrv sub/n4.qrv
shoot save_after_move_followed.png
has_document save_after_move_followed.png || fail "the document window is gone"
[ "$(send get "value of cell B2 of document 1")" = 12 ] || fail "the document lost its last value"

quit_without_saving

printf 'Item,Amt\nq,20\n' > "$work/t.csv"
start_socket_app save_after_move_text.png "$work/t.csv"
send set "value of cell B2 of document 1" 21 || fail "B2 of the text document not set"
mkdir "$work/away"
moved t.csv away/t2.csv
keys ctrl+s
saved_moved() { [ "$(tr -d '\r' < "$work/away/t2.csv")" = "$(printf 'Item,Amt\nq,21')" ]; }
wait_for 60 saved_moved || { shoot save_after_move_text_unsaved.png; fail "Ctrl-S did not write the moved text file"; }
[ ! -e "$work/t.csv" ] || fail "Ctrl-S wrote a second copy at the text file's old place"
quit_app
echo "save after move: ok"
