#!/usr/bin/env bash
# Starts the real program under Xvfb: the menu bar of the application and an
# untitled document, a menu pulled down (screenshot host_menu.png), Quit chosen
# from the application menu, then a second run closed through the host window.
# Both runs must end cleanly with the swap file deleted.
# Arguments: the quorvin binary and the build folder (the screenshots go there).
source "$(dirname "$0")/app_script.bash"
start_session 1024x768
swap=


start() {
  start_app "$quorvin"
  swap="$config/Quorvin/Quorvin Swap $app_pid"  # each running copy has its own
  wait_for 60 test -f "$swap" || fail "no swap file while running"
}

# Waits for the program to end by itself and checks it left no swap file.
finish() {
  wait_for_exit "$1"
  local status=$?
  [ "$status" -eq 0 ] || fail "quorvin exited with $status ($1)"
  [ -f "$swap" ] && fail "the swap file was left behind ($1)"
}

start
shoot_until host_window.png has_document_title host_window.png || fail "no title on the untitled document"
[ "$(pixel host_window.png 300 5)" = FFFFFF ] || fail "menu bar strip is not white: $(pixel host_window.png 300 5)"
[ "$(pixel host_window.png 600 5)" = FFFFFF ] || fail "menu bar strip is not white: $(pixel host_window.png 600 5)"
[ "$(dark_pixels host_window.png 60x14+85+3)" -gt 10 ] || fail "no File menu title"
[ "$(pixel host_window.png 700 19)" != FFFFFF ] || fail "menu bar has no bottom line"
is_desktop host_window.png 700 600 || fail "no desktop: $(pixel host_window.png 700 600)"
here=$(pixel host_window.png 700 600)
[ "$here" != "$(pixel host_window.png 701 600)" ] || [ "$here" != "$(pixel host_window.png 700 601)" ] ||
  fail "desktop pattern missing"

# The File menu pulled down: its items are drawn below the bar while the button is held.
menu_is_down() { [ "$(dark_pixels host_menu.png 150x200+90+24)" -gt 100 ]; }
changes_screen "pressing the File menu" xdotool mousemove --window "$window" 95 10 mousedown 1
shoot host_menu.png
xdotool mousemove --window "$window" 95 400 mouseup 1
menu_is_down || fail "the File menu is not pulled down"

# Quit from the application menu: its last item.
changes_screen "pressing the application menu" xdotool mousemove --window "$window" 40 10 mousedown 1
shoot host_app_menu.png
# The menu's three items end above row 105, where the command bar and the document lie.
quit_row=$(convert "$out/host_app_menu.png" -crop 1x85+45+20 -threshold 50% txt:- |
  awk -F'[,:]' '/#000000|black/ {y=$2} END {print y}')
[ -n "$quit_row" ] || fail "the application menu has no items"
xdotool mousemove --window "$window" 45 $((20 + quit_row - 4)) mouseup 1
finish "Quit from the menu"

# Closing the host window quits as well.
start
kill -TERM "$app_pid"
finish "host window closed"
echo "host window: ok"
