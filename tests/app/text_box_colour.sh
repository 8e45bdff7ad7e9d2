#!/usr/bin/env bash
# The text of a text box coloured in the real program under Xvfb: a box drawn
# with the text box tool, "plain red" typed into it (standing inside the
# frame by the line size and 4 pixels more), "red" selected and made red with
# Format > Text Color, whose items are open for a text box's text; the Colors
# palette then shows red as the text colour, and its Text swatch makes the
# selected "plain" blue (text_box_colour_*.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
source "$(dirname "$0")/drawing_tools.bash"
start_empty_document text_box_colour_open.png

# Text is drawn smoothed: its pixels are counted by their hue.
reddish_text() { convert "$out/$1" -crop "$box" +repage -fx "(r>0.6&&g<0.4&&b<0.4)?1:0" -format "%[fx:round(w*h*mean)]" info:; }
bluish_text() { convert "$out/$1" -crop "$box" +repage -fx "(b>0.6&&r<0.4&&g<0.4)?1:0" -format "%[fx:round(w*h*mean)]" info:; }
# colour_spot FILE RGB: the middle of the pixels of that colour on the screen, as "X Y".
colour_spot() {
  convert "$out/$1" -fill black +opaque "#$2" -fill white -opaque "#$2" -trim -format "%[fx:floor(page.x+w/2)] %[fx:floor(page.y+h/2)]" info:
}
red=DD0806 blue=0000D4
# choose_from_grid FILE GEOMETRY FROM_X FROM_Y COLOUR NAME SOURCE: with the mouse
# held down at FROM, a screenshot (FILE) shows a colour grid (COLOUR within
# GEOMETRY, opened by SOURCE); the mouse goes to the colour and lets go.
choose_from_grid() {
  shoot "$1"
  [ "$(colour_pixels "$1" "$5" "$2")" -gt 20 ] || fail "$7 opens no colour grid"
  local spot_x spot_y
  read -r spot_x spot_y <<< "$(colour_spot "$1" "$5")"
  glide "$3" "$4" "$spot_x" "$spot_y"
  changes_screen "choosing $6" xdotool mouseup 1
}

# A text box dragged out over D6:F9 opens for typing.
open_tool_palette
box="200x70+300+$((150 + dy))"
draw_with "${text_box_tool[@]}" 300 $((150 + dy)) 500 $((220 + dy))
typed "plain red"
keys shift+Left shift+Left shift+Left
# selected LETTERS FILE: the selection's highlight covers about that many letters.
selected() { [ "$(colour_pixels "$2" B5D5FF "$box")" -gt $(($1 * 40)) ]; }
shoot_until text_box_colour_typed.png selected 3 text_box_colour_typed.png || fail "\"red\" was not selected"
# The text stands inside the frame (drawn at x 300) by the line size and 4
# pixels more: its first letter's ink begins past x 305.
first_ink() {
  convert "$out/$1" -crop "40x16+301+$((154 + dy))" +repage -colorspace gray -threshold 70% txt:- |
    awk -F'[,: ]' '/gray\(0\)|black/ {print $1 + 301}' | sort -n | head -1
}
ink_at=$(first_ink text_box_colour_typed.png)
[ "$ink_at" -gt 305 ] || fail "the text begins at x $ink_at, too near the frame at x 300"
# View > Palettes > Colors: the palette opens at the screen's right.
submenu_choice 436 470 700 176 248

# Format (title at x 185), Text Color (its fifth item), then red in its grid.
changes_screen "pressing Format" xdotool mousemove 185 9 mousedown 1
changes_screen "reaching Text Color" glide 185 9 200 116
changes_screen "opening the colour grid" glide 200 116 330 116
choose_from_grid text_box_colour_grid.png 140x170+295+100 330 116 "$red" red \
  "Format > Text Color, for the text box's text,"
keys End  # the caret after the word, which shows without the selection's highlight
has_red_word() { [ "$(reddish_text "$1")" -gt 15 ]; }
shoot_until text_box_colour_red.png has_red_word text_box_colour_red.png || fail "the selected word did not turn red"

# The palette's Text swatch shows the selection's red; over "plain" it opens
# its colour grid, and blue makes that word blue.
palette_red() { [ "$(colour_pixels "$1" "$red" 80x40+860+90)" -gt 100 ]; }
palette_red text_box_colour_red.png || fail "the Colors palette does not show the text's red"
keys Home shift+Right shift+Right shift+Right shift+Right shift+Right
shoot_until text_box_colour_plain.png selected 5 text_box_colour_plain.png || fail "\"plain\" was not selected"
changes_screen "pressing the Text swatch" xdotool mousemove 915 102 mousedown 1
choose_from_grid text_box_colour_swatch.png 1024x768+0+0 915 102 "$blue" blue "the Colors palette's Text swatch"
keys End
both_colours() { has_red_word "$1" && [ "$(bluish_text "$1")" -gt 15 ]; }
shoot_until text_box_colour_both.png both_colours text_box_colour_both.png ||
  fail "the palette's blue did not reach the selected word"
quit_without_saving
echo "text box colour: ok"
