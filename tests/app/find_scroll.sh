#!/usr/bin/env bash
# Find with the real program under Xvfb: a document whose value "needle" lies
# two screens below the first row; Ctrl-F opens the Find window, the search
# text is typed and Return finds it. The sheet scrolls (the top row's text is
# no longer shown) and the found cell is the active one: text typed after the
# Find window is closed lands in it, as the saved document shows
# (screenshots find_scroll_*.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
start_converter_session "$quorvin" 1024x768

{
  echo "top"
  for _ in $(seq 2 99); do echo; done
  echo "needle"
} > "$work/far.csv"
make_document "$work/far.csv" "$work/far.qrv"

start_app "$quorvin" "$work/far.qrv"
await_document find_scroll_open.png
a1="56x14+36+$((66 + dy))"  # left of where the Find window opens
top_shown() { [ "$(dark_pixels "$1" "$a1")" -gt 10 ]; }
# The window shows before its cells are drawn.
shoot_until find_scroll_open.png top_shown find_scroll_open.png || fail "the top row's text is not shown at first"

key_delay=30
keys ctrl+f
find_open() { [ "$(pixel "$1" 110 130)" != "$(pixel find_scroll_open.png 110 130)" ]; }
shoot_until find_scroll_window.png find_open find_scroll_window.png || fail "no Find window"
xdotool type --window "$window" --delay 30 needle
keys Return
scrolled() { ! top_shown "$1"; }
shoot_until find_scroll_found.png scrolled find_scroll_found.png || fail "the sheet did not scroll to the hit"
keys Escape
xdotool type --window "$window" --delay 30 found
keys Return
keys ctrl+s
await_saved "$work/far.qrv"
shoot find_scroll_saved.png
quit_app

read_saved_rows --values "$work/far.qrv"
row=$(sed -n 100p <<< "$saved_rows")
[ "$row" = "found" ] || fail "the found cell was not the active one: row 100 holds '$row'"
echo "find scroll: ok"
