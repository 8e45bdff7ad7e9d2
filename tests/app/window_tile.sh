#!/usr/bin/env bash
# Starts the real program under Xvfb with two documents and tiles them from
# Window > Arrange > Tile Horizontally with the mouse: the two windows must
# then fill the width of the screen one above the other (window_tile.png).
# Then Help > Quorvin User's Guide must hand the guide's page, written in the
# build's help folder, to the desktop's opener (a stand-in on PATH that notes
# what it was given; help_menu.png shows the open menu).
# Arguments: the quorvin binary and the build folder (the screenshots go there).
source "$(dirname "$0")/app_script.bash"
start_session 1024x768
work=$(mktemp -d)
mkdir "$work/bin"
printf '#!/bin/sh\nprintf "%%s" "$1" > "%s/opened.txt"\n' "$work" > "$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"
export PATH="$work/bin:$PATH"

not_desktop() { ! is_desktop "$1" "$2" "$3"; }
tiled() { not_desktop "$1" 1000 200 && not_desktop "$1" 1000 600 && not_desktop "$1" 20 600; }
opened() { [ -s "$work/opened.txt" ]; }

start_app "$quorvin"
shoot_until tile_start.png has_document tile_start.png || fail "no untitled document"
is_desktop tile_start.png 1000 200 || fail "the first document already fills the screen"
changes_screen "a new document" xdotool key ctrl+n

tile_horizontally
shoot_until window_tile.png tiled window_tile.png || fail "the two documents were not tiled across the screen"

# Help (title at x 548), the user's guide its first item.
changes_screen "opening the Help menu" xdotool mousemove 548 9 click 1
shoot help_menu.png
changes_screen "reaching the user's guide" glide 548 20 580 32
xdotool click 1
wait_for 30 opened || fail "the Help menu handed nothing to the desktop's opener"
page=$(cat "$work/opened.txt")
case "$page" in
  */help/user_guide.html) ;;
  *) fail "the opener was given $page" ;;
esac
grep -q "Quorvin User's Guide" "$page" || fail "the page $page is not the user's guide"

quit_without_saving
echo "window tile and help: ok"
