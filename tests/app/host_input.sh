#!/usr/bin/env bash
# Drives the real program under Xvfb with xdotool: the screen follows the host
# window's size, and mouse, wheel, keys with every modifier and typed non-ASCII
# text go through the host's input translation while the program keeps running;
# closing the window quits it cleanly.
# Arguments: the quorvin binary and the build folder (screenshots go there).
set -uo pipefail
quorvin=$1
out=${2:-.}
for tool in Xvfb xdotool import convert; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is missing"; exit 0; }
done

exec 3< <(Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp 2>/dev/null)
xvfb_pid=$!
read -r -t 10 display <&3 || { echo "Xvfb did not start"; exit 1; }
export DISPLAY=":$display" SDL_VIDEODRIVER=x11
app_pid=
stop() { [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null; kill "$xvfb_pid" 2>/dev/null; }
trap stop EXIT
fail() { echo "$1"; exit 1; }

"$quorvin" &
app_pid=$!
window=
for _ in $(seq 50); do
  window=$(xdotool search --name '^Quorvin$' 2>/dev/null | head -1)
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || fail "no Quorvin window"
sleep 0.5

shoot() { import -window root "$out/$1" || fail "no screenshot"; }
pixel() { convert "$out/$1" -format "%[hex:u.p{$2,$3}]" info: | cut -c1-6; }
is_desktop() { case "$(pixel "$1" "$2" "$3")" in 6C7F99|5D6F88) return 0;; *) return 1;; esac; }

# The screen follows the host window.
xdotool windowmove "$window" 0 0 windowsize "$window" 800 600
sleep 0.7
shoot host_resized.png
is_desktop host_resized.png 790 590 || fail "no desktop at the new bottom-right: $(pixel host_resized.png 790 590)"
[ "$(pixel host_resized.png 799 5)" = FFFFFF ] || fail "menu bar does not span the new width"
is_desktop host_resized.png 900 700 && fail "desktop drawn outside the host window"

# Input of every kind.
xdotool mousemove --window "$window" 200 200 click 1
xdotool mousemove --window "$window" 100 100 mousedown 1 mousemove --window "$window" 300 250 mouseup 1
xdotool mousemove --window "$window" 400 300 click 3 click 4 click 5
xdotool key --window "$window" ctrl+c alt+Left super+a shift+Tab Return Escape F5 Insert Delete BackSpace KP_Enter
xdotool type --window "$window" "Grüße, 3×4 €"
sleep 0.5
kill -0 "$app_pid" 2>/dev/null || fail "quorvin stopped while taking input"
shoot host_input.png
is_desktop host_input.png 400 400 || fail "screen damaged after input: $(pixel host_input.png 400 400)"

kill -TERM "$app_pid"
for _ in $(seq 50); do
  kill -0 "$app_pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$app_pid" 2>/dev/null && fail "quorvin did not quit"
wait "$app_pid"
status=$?
app_pid=
[ "$status" -eq 0 ] || fail "quorvin exited with $status"
echo "host input: ok"
