#!/usr/bin/env bash
# Fill Left and Fill Up change the active cell: the entry line shows its new
# content at once, with the real program under Xvfb (screenshots
# fill_entry_line_*.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
start_sender_session "$quorvin" 1024x768

start_socket_app fill_entry_line_start.png
entry_line="200x14+142+50"
entry_blank() { [ "$(dark_pixels "$1" "$entry_line")" -eq 0 ]; }
entry_shows_text() { [ "$(dark_pixels "$1" "$entry_line")" -gt 10 ]; }

send set "value of cell B1 of document 1" right >/dev/null || fail "B1 not set"
send set "value of cell A3 of document 1" below >/dev/null || fail "A3 not set"

# row_y ROW: the middle of a row of the sheet; select_cells X1 Y1 X2 Y2: the cells
# from the first point to the second selected by hand, a click and a Shift-click.
row_y() { echo $((49 + 17 * $1 + dy)); }
select_cells() {
  click_at "$1" "$2"
  xdotool keydown shift
  click_at "$3" "$4"
  xdotool keyup shift
}
# fill ITEM_Y NAME CELLS...: the cells selected (the top-left one active and
# empty), then Edit > Fill and the item of its submenu.
fill() {
  select_cells "${@:3}"
  shoot_until "fill_entry_line_$2_before.png" entry_blank "fill_entry_line_$2_before.png" ||
    fail "the entry line is not blank before $2"
  past_double_click_time
  submenu_choice 133 150 380 290 "$1"
  shoot_until "fill_entry_line_$2.png" entry_shows_text "fill_entry_line_$2.png" ||
    fail "the entry line still shows the active cell's old content after $2"
}
fill 353 fill_left 70 "$(row_y 1)" 148 "$(row_y 1)"
fill 332 fill_up 70 "$(row_y 2)" 70 "$(row_y 3)"

quit_without_saving
echo "fill entry line: ok"
