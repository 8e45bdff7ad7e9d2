#!/usr/bin/env bash
# A note of one button (a document that cannot be opened) in the real program
# under Xvfb: Escape closes it as its OK button does; shown again, Ctrl-Q
# closes it and the program quits (screenshots note_keys_*.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
start_session 1024x768
work=$(mktemp -d)
printf 'not a document at all\n' > "$work/damaged.qrv"

# The note stands in the middle of the screen on its light grey.
note_up() { [ "$(pixel "$1" 512 300)" = EEEEEE ]; }
note_gone() { ! note_up "$1"; }

start_app "$quorvin" "$work/damaged.qrv"
shoot_until note_keys_shown.png note_up note_keys_shown.png || fail "no note about the damaged document"
keys Escape
shoot_until note_keys_escaped.png note_gone note_keys_escaped.png || fail "Escape left the note up"
quit_app

start_app "$quorvin" "$work/damaged.qrv"
shoot_until note_keys_shown_again.png note_up note_keys_shown_again.png || fail "no note the second time"
keys ctrl+q
wait_for_exit "Ctrl-Q in the note" || fail "quorvin exited with $?"
echo "note keys: ok"
