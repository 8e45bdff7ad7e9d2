#!/usr/bin/env bash
# Letters typed at a caret moved back into Roman text join that text, with the
# real program under Xvfb: "ab", then 東, then Option-Left and "xxxx" in the
# entry line shows as "abxxxx" typed in a row before 東 (in Roman letters, not
# in the Japanese font of the script last typed), the caret at the start each
# time (screenshots caret_keyboard_script_*.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
skip_without compare
start_sender_session "$quorvin" 1024x768
start_app "$quorvin"
await_socket
await_document caret_keyboard_script_open.png
bind_letters "東"

# entry_line_text FILE: the entry line's text right of a caret at its start.
entry_line_text() { convert "$out/$1" -crop 240x18+146+47 +repage -threshold 50% "$out/${1%.png}_text.png"; }
# shown_at_rest FILE: the entry line drawn and at rest, its text cut out.
shown_at_rest() {
  wait_for 30 screen_still || fail "the screen did not come to rest for $1"
  shoot "$1"
  entry_line_text "$1"
}

typed "ab"
typed "東"
keys alt+Left
typed "xxxx"
keys alt+Left alt+Left alt+Left alt+Left alt+Left alt+Left alt+Left
shown_at_rest caret_keyboard_script_moved.png
keys Escape
typed "abxxxx"
typed "東"
keys alt+Left alt+Left alt+Left alt+Left alt+Left alt+Left alt+Left alt+Left
shown_at_rest caret_keyboard_script_in_a_row.png
differing=$(compare -metric AE "$out/caret_keyboard_script_moved_text.png" \
  "$out/caret_keyboard_script_in_a_row_text.png" null: 2>&1)
[ "$differing" = 0 ] ||
  fail "the letters typed at the moved caret are not set as the Roman text before them"

quit_without_saving
echo "caret and keyboard script: ok"
