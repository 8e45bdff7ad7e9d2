#!/usr/bin/env bash
# Replace All in the Find window of the real program under Xvfb over a styled
# cell of two scripts beyond Roman: "čaj – Καφές" in A1, made bold and italic
# by Ctrl-B and Ctrl-I, centred by Format > Alignment and red by Format > Text
# Color; "čaj" replaced by "káva" gives "káva – Καφές" through the event
# socket, still drawn red, and the saved document, read by the converter as
# SYLK, still holds A1 bold, italic, centred and red; undo brings back the
# text, its format kept (screenshots replace_keeps_format_*.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
start_socket_session "$quorvin" 1024x768
key_delay=60

: > "$work/empty.csv"
make_document "$work/empty.csv" "$work/styled.qrv"
start_socket_app replace_keeps_format_open.png "$work/styled.qrv"

value_of() { send get "value of cell $1 of document 1"; }
send set "value of cell A1 of document 1" "čaj – Καφές" >/dev/null || fail "A1 not set"
[ "$(value_of A1)" = "čaj – Καφές" ] || fail "A1 was stored as \"$(value_of A1)\""
send select "range A1 of document 1" >/dev/null || fail "A1 not selected"

red=DD0806
# Text is drawn smoothed: its red pixels are counted by their hue, in A1.
drop=$(document_drop replace_keeps_format_open.png)
cell_a1="76x17+33+$((58 + drop))"
reddish_text() {
  convert "$out/$1" -crop "$cell_a1" +repage -fx "(r>0.6&&g<0.4&&b<0.4)?1:0" -format "%[fx:round(w*h*mean)]" info:
}
red_a1() { [ "$(reddish_text "$1")" -gt 10 ]; }
colour_spot() {
  convert "$out/$1" -fill black +opaque "#$2" -fill white -opaque "#$2" -trim -format "%[fx:floor(page.x+w/2)] %[fx:floor(page.y+h/2)]" info:
}

changes_screen "making A1 bold" keys ctrl+b
changes_screen "making A1 italic" keys ctrl+i
# Format (title at x 185): Alignment, its fourth item, then Center, the third of its submenu.
format_choice 95 137
# Format > Text Color, its fifth item, then red in its grid.
changes_screen "pressing Format" xdotool mousemove 185 9 mousedown 1
changes_screen "reaching Text Color" glide 185 9 200 116
changes_screen "opening the colour grid" glide 200 116 330 116
shoot replace_keeps_format_grid.png
[ "$(colour_pixels replace_keeps_format_grid.png "$red" 140x170+295+100)" -gt 20 ] || fail "Format > Text Color opens no colour grid"
read -r spot_x spot_y <<< "$(colour_spot replace_keeps_format_grid.png "$red")"
glide 330 116 "$spot_x" "$spot_y"
changes_screen "choosing red" xdotool mouseup 1
shoot_until replace_keeps_format_styled.png red_a1 replace_keeps_format_styled.png || fail "A1 was not drawn red"

# The Find window's content opens at (100, 138): Replace All at (412, 106) in it.
bind_letters "čajkáva"
changes_screen "opening the Find window" keys ctrl+f
changes_screen "typing the search text" typed "čaj"
keys Tab
changes_screen "typing the replacement" typed "káva"
changes_screen "pressing Replace All" click_at 512 244
keys Escape
[ "$(value_of A1)" = "káva – Καφές" ] || fail "Replace All stored \"$(value_of A1)\""
shoot_until replace_keeps_format_replaced.png red_a1 replace_keeps_format_replaced.png ||
  fail "A1 is no longer drawn red after Replace All"

saved_size=$(stat -c %s "$work/styled.qrv")
keys ctrl+s
await_saved "$work/styled.qrv"
"$sheetconv" "$work/styled.qrv" "$work/styled.slk" || fail "the converter cannot read the saved document"
a1_format=$(tr -d '\r' < "$work/styled.slk" | grep -E '^F;.*;Y1;X1$' | head -1)
# Its format: centred ("C" after the number format), bold and italic ("SDI"),
# a text colour (the first of the colours field, "Q").
grep -qE '^F;F[A-Z$%][0-9]C;SDI(M[0-9]+)?;Q[1-9]' <<< "$a1_format" ||
  fail "the saved A1 is no longer bold, italic, centred and coloured: \"$a1_format\""
# A1's value follows its format record (which gave the row and column).
grep -qx 'C;K"káva – Καφές"' <(tr -d '\r' < "$work/styled.slk") ||
  fail "the saved A1 holds: $(grep "^C;" "$work/styled.slk")"

changes_screen "undoing Replace All" keys ctrl+z
[ "$(value_of A1)" = "čaj – Καφές" ] || fail "undo brought back \"$(value_of A1)\""
shoot_until replace_keeps_format_undone.png red_a1 replace_keeps_format_undone.png || fail "A1 is no longer red after undo"

quit_without_saving
echo "replace keeps format: ok"
