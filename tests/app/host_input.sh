#!/usr/bin/env bash
# Drives the real program under Xvfb with xdotool: the screen follows the host
# window's size, and mouse, wheel, keys with every modifier and typed non-ASCII
# text go through the host's input translation while the program keeps running;
# closing the window quits it cleanly. It runs with a configuration folder of
# its own (start_xvfb makes it).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
start_session 1280x1024
start_app "$quorvin"

# The screen follows the host window.
xdotool windowmove "$window" 0 0 windowsize "$window" 800 600
shoot_until host_resized.png is_desktop host_resized.png 790 590 || fail "no desktop at the new bottom-right: $(pixel host_resized.png 790 590)"
[ "$(pixel host_resized.png 799 5)" = FFFFFF ] || fail "menu bar does not span the new width"
is_desktop host_resized.png 900 700 && fail "desktop drawn outside the host window"

# Input of every kind.
xdotool mousemove --window "$window" 200 200 click 1
xdotool mousemove --window "$window" 100 100 mousedown 1 mousemove --window "$window" 300 250 mouseup 1
xdotool mousemove --window "$window" 400 300 click 3 click 4 click 5
xdotool key --window "$window" ctrl+c alt+Left super+a shift+Tab Return Escape F5 Insert Delete BackSpace KP_Enter
xdotool type --window "$window" "Grüße, 3·4 €"
# The screen following one more resize shows the input before it was taken.
xdotool windowsize "$window" 820 620
shoot_until host_input.png is_desktop host_input.png 810 610 || fail "no desktop after the input: $(pixel host_input.png 810 610)"
kill -0 "$app_pid" 2>/dev/null || fail "quorvin stopped while taking input"
is_desktop host_input.png 760 560 || fail "screen damaged after input: $(pixel host_input.png 760 560)"

# The typed entry changed the document: the quit asks about it.
quit_without_saving
echo "host input: ok"
