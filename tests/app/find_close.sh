#!/usr/bin/env bash
# File > Close with the Find window in front, in the real program under Xvfb:
# Command-F brings the Find window up over the document (find_close_open.png),
# Command-W closes it and leaves the document open (find_close_closed.png).
# Arguments: the quorvin binary and the build folder (the screenshots go there).
source "$(dirname "$0")/app_script.bash"
start_session 1024x768

# The Find window's close box, red while it is the front window.
is_red() { case "$(pixel "$1" 113 $((72 + dy)))" in [C-F]?[0-6]?[0-6]?) return 0;; *) return 1;; esac; }
find_gone() { ! is_red "$1" && has_document_title "$1"; }

start_app "$quorvin"
await_document find_close.png has_document_title
xdotool key ctrl+f
shoot_until find_close_open.png is_red find_close_open.png || fail "no Find window"
xdotool key ctrl+w
shoot_until find_close_closed.png find_gone find_close_closed.png || fail "Close did not close the Find window"

quit_without_saving
echo "find close: ok"
