#!/usr/bin/env bash
# Starts the real program under Xvfb, checks what the screen shows, and asks it to quit.
# Arguments: the quorvin binary and the build folder (the screenshot goes there).
set -uo pipefail
quorvin=$1
out=${2:-.}
for tool in Xvfb xdotool import convert; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is missing"; exit 0; }
done

exec 3< <(Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp 2>/dev/null)
xvfb_pid=$!
read -r -t 10 display <&3 || { echo "Xvfb did not start"; exit 1; }
export DISPLAY=":$display" SDL_VIDEODRIVER=x11
cleanup() { kill "$app_pid" "$xvfb_pid" 2>/dev/null; }
trap cleanup EXIT

"$quorvin" &
app_pid=$!
for _ in $(seq 50); do
  xdotool search --name '^Quorvin$' >/dev/null 2>&1 && break
  sleep 0.1
done
xdotool search --name '^Quorvin$' >/dev/null || { echo "no Quorvin window"; exit 1; }
sleep 0.5

shot="$out/host_window.png"
import -window root "$shot" || { echo "no screenshot"; exit 1; }
pixel() { convert "$shot" -format "%[hex:u.p{$1,$2}]" info: | cut -c1-6; }
[ "$(pixel 10 5)" = FFFFFF ] || { echo "menu bar strip is not white: $(pixel 10 5)"; exit 1; }
[ "$(pixel 10 19)" = 000000 ] || { echo "menu bar has no bottom line: $(pixel 10 19)"; exit 1; }
[ "$(pixel 10 100)" != "$(pixel 11 100)" ] || [ "$(pixel 10 100)" != "$(pixel 10 101)" ] ||
  { echo "desktop pattern missing"; exit 1; }

kill -TERM "$app_pid"
for _ in $(seq 50); do
  kill -0 "$app_pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$app_pid" 2>/dev/null && { echo "quorvin did not quit"; exit 1; }
wait "$app_pid"
status=$?
[ "$status" -eq 0 ] || { echo "quorvin exited with $status"; exit 1; }
echo "host window: ok"
