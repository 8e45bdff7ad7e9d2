#!/usr/bin/env bash
# Format > Alignment > Top, Middle and Bottom place a cell's text at the top, in
# the middle and at the bottom of a tall row, with the real program under Xvfb
# (screenshot vertical_alignment.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
start_sender_session "$quorvin" 1024x768

start_socket_app vertical_alignment_start.png
row_top=$((58 + dy))
send set "value of cell A1 of document 1" Top >/dev/null || fail "A1 not set"
send set "value of cell B1 of document 1" Middle >/dev/null || fail "B1 not set"
send set "value of cell C1 of document 1" Bottom >/dev/null || fail "C1 not set"

# Options > Row Height... makes row 1 0.8 inch (57 pixels) tall.
send select "range A1:C1" >/dev/null || fail "row 1 not selected"
changes_screen "opening Options" click_at 325 9
glide 325 20 350 257
click_at 350 257
asked_height() { [ "$(pixel "$1" 400 445)" = EEEEEE ]; }
shoot_until vertical_alignment_height.png asked_height vertical_alignment_height.png || fail "no Row Height dialog"
typed 0.8
keys Return
tall() { [ "$(dark_pixels "$1" "20x25+2+$((row_top + 19))")" -lt 3 ]; }
shoot_until vertical_alignment_tall.png tall vertical_alignment_tall.png || fail "row 1 did not grow"

# place CELL SUBITEM_Y: the cell selected, then Format > Alignment > the item.
place() {
  send select "range $1:$1" >/dev/null || fail "$1 not selected"
  format_choice 95 "$2"
}
place A1 209
place B1 230
place C1 251
wait_for 30 screen_still || fail "the screen did not come to rest"
shoot vertical_alignment.png

# Row 1 is 57 pixels tall: a third of it each for top, middle and bottom.
band() { dark_pixels vertical_alignment.png "70x16+$1+$((row_top + $2))"; }
for placed in "A 36 0 top" "B 112 19 middle" "C 188 38 bottom"; do
  read -r column x y where <<<"$placed"
  [ "$(band "$x" "$y")" -gt 10 ] || fail "${column}1's text is not at the $where of its cell"
done
[ "$(band 36 38)" -lt 3 ] || fail "A1's text reaches the bottom of its cell"
[ "$(band 188 0)" -lt 3 ] || fail "C1's text reaches the top of its cell"

quit_without_saving
echo "vertical alignment: ok"
