#!/usr/bin/env bash
# Starts the real program under Xvfb and zooms the document window: it must grow
# to the right and down while its title bar stays below the command bar and its
# bottom above the sheet-tab bar (screenshot host_zoomed.png). Then makes the
# host window smaller and larger: the menu bar must be drawn again at once (no
# click) and the tab bar must move to the new bottom edge each time
# (screenshots host_smaller.png and host_larger.png).
# Arguments: the quorvin binary and the build folder (the screenshots go there).
source "$(dirname "$0")/app_script.bash"
start_session 1280x900

menu_titles_drawn() { menu_bar_drawn "$1" && [ "$(dark_pixels "$1" 300x14+10+3)" -gt 50 ]; }
# The tab bar's strip of tabs lies 15 pixels above the bottom edge.
tabs_at_bottom() { ! is_desktop "$1" 300 $(($2 - 15)); }

start_app "$quorvin"
shoot_until host_start.png has_document host_start.png || fail "no untitled document"
drop=$(document_drop host_start.png)
height=$(xdotool getwindowgeometry "$window" | awk -F'[x ]+' '/Geometry/ {print $4}')

# The zoom box is the third box of the title bar; the close box's red starts at x = 15.
zoomed() { ! is_desktop "$1" 900 $((height - 45)); }
xdotool mousemove --window "$window" 56 $((26 + drop)) click 1
shoot_until host_zoomed.png zoomed host_zoomed.png || fail "the zoomed window does not fill the screen"
[ "$(document_drop host_zoomed.png)" = "$drop" ] || fail "the zoomed window's title bar moved under the command bar"
tabs_at_bottom host_zoomed.png "$height" || fail "the zoomed window covers the tab bar"
is_desktop host_zoomed.png 900 $((height - 33)) || fail "the zoomed window reaches below the tab bar's top"

xdotool windowsize "$window" 900 620
shoot_until host_smaller.png menu_titles_drawn host_smaller.png || fail "the menu bar stays blank after the resize"
shoot_until host_smaller.png tabs_at_bottom host_smaller.png 620 || fail "the tab bar did not follow the bottom edge up"

xdotool windowsize "$window" 1100 860
shoot_until host_larger.png tabs_at_bottom host_larger.png 860 || fail "the tab bar did not follow the bottom edge down"
menu_titles_drawn host_larger.png || fail "the menu bar is blank after the second resize"

quit_app
echo "host resize: ok"
