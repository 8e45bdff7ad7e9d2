#!/usr/bin/env bash
# Starts the real program under Xvfb and clicks the command bar's New button:
# a second document window must open over the first (screenshots
# command_bar_before.png and command_bar_after.png), and the program must
# still quit cleanly.
# Arguments: the quorvin binary and the build folder (the screenshots go there).
source "$(dirname "$0")/app_script.bash"
require_tools
command -v compare >/dev/null || { echo "skipped: compare is missing"; exit 0; }
start_xvfb 1024x768

# The New button: the first button right of the bar-switch icon, below the menu bar.
bar_has_buttons() { [ "$(dark_pixels "$1" 60x20+30+22)" -gt 20 ]; }
changed_below_bar() {
  local changed
  changed=$(compare -metric AE -extract 1024x600+0+120 "$out/command_bar_before.png" "$out/$1" null: 2>&1)
  [ "${changed%% *}" -gt 2000 ]
}

start_app "$quorvin"
shoot_until command_bar_before.png has_document_title command_bar_before.png || fail "no untitled document"
bar_has_buttons command_bar_before.png || fail "the command bar shows no buttons"

# The bar's content starts right of its side title bar; New is its first button.
new_x=$(convert "$out/command_bar_before.png" -crop 80x1+0+33 -threshold 50% txt:- |
  awk -F'[,:]' '/#000000|black/ && $1 > 30 {print $1; exit}')
[ -n "$new_x" ] || fail "no New button found"
xdotool mousemove --window "$window" $((new_x + 4)) 33 click 1
shoot_until command_bar_after.png changed_below_bar command_bar_after.png || fail "clicking New opened no document"

quit_app
echo "command bar click: ok"
