#!/usr/bin/env bash
# An open document follows its file in the real program under Xvfb: the file
# renamed under the running program retitles the window with the longer name
# (file_following_renamed.png); the file then deleted closes the unchanged
# document (file_following_closed.png).
# Arguments: the quorvin binary and the build folder (the screenshots go there).
source "$(dirname "$0")/app_script.bash"
start_session 1024x768
folder=$(mktemp -d)
trap 'rm -rf "$folder"; stop_session' EXIT
cp "$(dirname "$0")/data/drawing_sample.qrv" "$folder/a.qrv"

title_ink() { dark_pixels "$1" 600x14+30+$((24 + dy)); }
retitled() { [ "$(title_ink "$1")" -gt "$((short_title + 100))" ]; }
closed() { ! has_document "$1"; }

start_app "$quorvin" "$folder/a.qrv"
await_document file_following.png has_document_title
short_title=$(title_ink file_following.png)
mv "$folder/a.qrv" "$folder/a document with a much longer name.qrv"
shoot_until file_following_renamed.png retitled file_following_renamed.png || fail "the window kept its old title"
rm "$folder/a document with a much longer name.qrv"
shoot_until file_following_closed.png closed file_following_closed.png || fail "the document stayed open"

quit_app
echo "file following: ok"
