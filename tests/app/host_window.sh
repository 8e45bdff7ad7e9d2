#!/usr/bin/env bash
# Starts the real program under Xvfb: the menu bar of the application and an
# untitled document, a menu pulled down (screenshot host_menu.png), Quit chosen
# from the application menu, then a second run closed through the host window.
# Both runs must end cleanly with the swap file deleted.
# Arguments: the quorvin binary and the build folder (the screenshots go there).
set -uo pipefail
quorvin=$1
out=${2:-.}
for tool in Xvfb xdotool import convert; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is missing"; exit 0; }
done

exec 3< <(Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp 2>/dev/null)
xvfb_pid=$!
read -r -t 10 display <&3 || { echo "Xvfb did not start"; exit 1; }
config=$(mktemp -d)
export DISPLAY=":$display" SDL_VIDEODRIVER=x11 XDG_CONFIG_HOME=$config
app_pid=
cleanup() { [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null; kill "$xvfb_pid" 2>/dev/null; rm -rf "$config"; }
trap cleanup EXIT
fail() { echo "$1"; exit 1; }

start() {
  "$quorvin" &
  app_pid=$!
  for _ in $(seq 50); do
    window=$(xdotool search --name '^Quorvin$' 2>/dev/null | head -1)
    [ -n "$window" ] && break
    sleep 0.1
  done
  [ -n "$window" ] || fail "no Quorvin window"
  xdotool windowmove "$window" 0 0
  sleep 0.7
  [ -f "$config/Quorvin/Quorvin Swap" ] || fail "no swap file while running"
}

finish() {
  for _ in $(seq 50); do
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$app_pid" 2>/dev/null && fail "quorvin did not quit ($1)"
  wait "$app_pid"
  status=$?
  app_pid=
  [ "$status" -eq 0 ] || fail "quorvin exited with $status ($1)"
  [ -f "$config/Quorvin/Quorvin Swap" ] && fail "the swap file was left behind ($1)"
}

shoot() { import -window root "$out/$1" || fail "no screenshot"; }
pixel() { convert "$out/$1" -format "%[hex:u.p{$2,$3}]" info: | cut -c1-6; }
dark_pixels() { convert "$out/$1" -crop "$2" -threshold 50% -format "%[fx:round(w*h*(1-mean))]" info:; }

start
shoot host_window.png
[ "$(pixel host_window.png 300 5)" = FFFFFF ] || fail "menu bar strip is not white: $(pixel host_window.png 300 5)"
[ "$(pixel host_window.png 600 5)" = FFFFFF ] || fail "menu bar strip is not white: $(pixel host_window.png 600 5)"
[ "$(dark_pixels host_window.png 60x14+85+3)" -gt 10 ] || fail "no File menu title"
[ "$(pixel host_window.png 700 19)" != FFFFFF ] || fail "menu bar has no bottom line"
[ "$(pixel host_window.png 700 600)" != "$(pixel host_window.png 701 600)" ] ||
  [ "$(pixel host_window.png 700 600)" != "$(pixel host_window.png 700 601)" ] || fail "desktop pattern missing"
[ "$(dark_pixels host_window.png 200x14+200+24)" -gt 10 ] || fail "no title on the untitled document"

# The File menu pulled down: its items are drawn below the bar while the button is held.
xdotool mousemove --window "$window" 95 10 mousedown 1
sleep 0.5
shoot host_menu.png
xdotool mousemove --window "$window" 95 400 mouseup 1
[ "$(dark_pixels host_menu.png 150x200+90+24)" -gt 100 ] || fail "the File menu is not pulled down"

# Quit from the application menu: its last item.
xdotool mousemove --window "$window" 40 10 mousedown 1
sleep 0.3
shoot host_app_menu.png
quit_row=$(convert "$out/host_app_menu.png" -crop 1x140+45+20 -threshold 50% txt:- |
  awk -F'[,:]' '/#000000|black/ {y=$2} END {print y}')
[ -n "$quit_row" ] || fail "the application menu has no items"
xdotool mousemove --window "$window" 45 $((20 + quit_row - 4)) mouseup 1
finish "Quit from the menu"

# Closing the host window quits as well.
start
kill -TERM "$app_pid"
finish "host window closed"
echo "host window: ok"
