#!/usr/bin/env bash
# Ctrl-S on a private CSV document that has a second name (a hard link), with
# the real program under Xvfb: the file keeps mode 600 and both names hold the
# changed value; saved again through a symbolic link, the link stays a link and
# the file it leads to takes the change (screenshots save_keeps_file_*.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
start_socket_session "$quorvin" 1024x768

printf 'Item,Amt\np,10\n' > "$work/private.csv"
chmod 600 "$work/private.csv"
ln "$work/private.csv" "$work/second name.csv"
ln -s private.csv "$work/link.csv"
start_socket_app save_keeps_file_open.png "$work/private.csv"

holds() { [ "$(tr -d '\r' < "$1")" = "$(printf 'Item,Amt\np,%s' "$2")" ]; }
saved_as() { holds "$work/private.csv" "$1"; }

send set "value of cell B2 of document 1" 11 || fail "B2 not set"
keys ctrl+s
wait_for 60 saved_as 11 || fail "Ctrl-S did not write the file"
shoot save_keeps_file_saved.png
[ "$(stat -c %a "$work/private.csv")" = 600 ] || fail "the file's mode became $(stat -c %a "$work/private.csv")"
holds "$work/second name.csv" 11 || fail "the second name keeps the old contents"
[ "$(stat -c %h "$work/private.csv")" = 2 ] || fail "the file lost its second name"
quit_app

start_socket_app save_keeps_file_link.png "$work/link.csv"
send set "value of cell B2 of document 1" 12 || fail "B2 not set"
keys ctrl+s
wait_for 60 saved_as 12 || fail "Ctrl-S through the link did not write the file it leads to"
[ -L "$work/link.csv" ] || fail "the symbolic link was replaced by a file"
holds "$work/second name.csv" 12 || fail "the second name keeps the old contents"
[ "$(stat -c %a "$work/private.csv")" = 600 ] || fail "the file's mode became $(stat -c %a "$work/private.csv")"
quit_app
echo "save keeps file: ok"
