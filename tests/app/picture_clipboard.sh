#!/usr/bin/env bash
# Pictures over the system clipboard with another program (xclip): a chart
# copied in the program is read by xclip as a PNG image of the chart's own
# size showing its columns, and a PNG image xclip puts on the clipboard pastes
# into a sheet as a picture; a large image makes the round trip in INCR steps
# (screenshots picture_clipboard_*.png; the PNG xclip read is
# picture_clipboard_copied_chart.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
source "$(dirname "$0")/fruit_chart.bash"
skip_without xclip
start_fruit_session picture_clipboard_open.png

keys shift+Down shift+Down shift+Down shift+Down shift+Right shift+Right
object_choice "$chart_kind_y" "$column_y"
click_at 330 140
shoot_until picture_clipboard_chart.png has_chart picture_clipboard_chart.png || fail "no column chart drawn"
# A chart just placed may show its handles already: a cell is chosen first, so
# that choosing the chart always changes the screen.
changes_screen "choosing a cell" click_at 120 400
changes_screen "selecting the chart" click_at 345 155
keys ctrl+c

# count_colour FILE RGB: pixels of that colour in an image.
count_colour() { convert "$1" -fill black +opaque "#$2" -fill white -opaque "#$2" -format "%[fx:round(w*h*mean)]" info:; }
await_copied_png "$work/chart.png" chart
cp "$work/chart.png" "$out/picture_clipboard_copied_chart.png"
# The image is the chart's own 280 x 180 pixels, its frame's right line included.
size=$(identify -format %wx%h "$work/chart.png")
[ "$size" = 280x180 ] || fail "the chart's image is $size, not the chart's 280x180"
right_line=$(convert "$work/chart.png" -crop 1x180+279+0 -threshold 50% -format "%[fx:round(w*h*(1-mean))]" info:)
[ "$right_line" -eq 180 ] || fail "the chart's image has no whole right frame line"
blue=$(count_colour "$work/chart.png" 0000D4)
[ "$blue" -gt 300 ] || fail "the PNG image does not show the chart's columns ($blue blue pixels)"
targets=$(xclip -selection clipboard -t TARGETS -o 2>/dev/null)
case "$targets" in *image/png*) ;; *) fail "the clipboard does not offer image/png: $targets" ;; esac

# Another program's PNG image: a green block pasted at a cell below the data.
convert -size 60x40 xc:'#00C000' "$work/green.png"
another_program_copies_png "$work/green.png"
changes_screen "selecting a cell below the data" click_at 120 450
keys ctrl+v
has_green() { [ "$(count_colour "$out/$1" 00C000)" -gt 2000 ]; }
shoot_until picture_clipboard_pasted.png has_green picture_clipboard_pasted.png ||
  fail "the PNG image from xclip did not paste as a picture"

# A large image goes both ways in INCR steps: pasted here, copied again (it is
# still selected) and read back by xclip at its size.
convert -size 400x300 xc: +noise Random "$work/noise.png"
[ "$(stat -c %s "$work/noise.png")" -gt 200000 ] || fail "the large sample image is too small"
another_program_copies_png "$work/noise.png"
changes_screen "pasting the large image" keys ctrl+v
keys ctrl+c
large_png() {
  xclip -selection clipboard -t image/png -o > "$work/back.png" 2>/dev/null &&
    [ "$(identify -format %wx%h "$work/back.png" 2>/dev/null)" = 400x300 ] &&
    ! cmp -s "$work/back.png" "$work/noise.png"  # drawn again here, not the file xclip gave
}
wait_for 30 large_png || fail "the large image did not come back whole through the clipboard"
shoot picture_clipboard_large.png
quit_without_saving
echo "picture clipboard: ok"
