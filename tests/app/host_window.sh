#!/usr/bin/env bash
# Starts the real program under Xvfb, checks what the screen shows, and asks it to quit.
# Arguments: the quorvin binary and the build folder (the screenshot goes there).
set -uo pipefail
quorvin=$1
out=${2:-.}
source "$(dirname "$0")/xvfb_session.bash"
require_tools
start_xvfb 1024x768
start_app "$quorvin"

shoot host_window.png
[ "$(pixel host_window.png 3 5)" = FFFFFF ] || fail "menu bar strip is not white: $(pixel host_window.png 3 5)"
is_desktop host_window.png 1010 750 || fail "no desktop at the bottom-right: $(pixel host_window.png 1010 750)"
here=$(pixel host_window.png 1010 750)
[ "$here" != "$(pixel host_window.png 1011 750)" ] || [ "$here" != "$(pixel host_window.png 1010 751)" ] ||
  fail "desktop pattern missing"

quit_app
echo "host window: ok"
