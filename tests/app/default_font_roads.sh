#!/usr/bin/env bash
# Texts Mac Roman spells, under a default font of another script, with the
# real program under Xvfb: another program's text pasted into a layer whose
# default font File > Document Layout set to "DejaVu Sans Cyrillic", and a
# UTF-8 CSV opened while the preferences' default font for new workbooks is
# that font, read back exactly through the event socket and in the file
# Ctrl-S writes (screenshots default_font_roads_*.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
skip_without xclip
start_socket_session "$quorvin" 1024x768
key_delay=40

value_of() { send get "value of cell $1 of document 1"; }
# expect_cells CELL TEXT...: each cell named holds the text after it.
expect_cells() {
  local cell
  while [ $# -ge 2 ]; do
    cell=$(value_of "$1")
    [ "$cell" = "$2" ] || fail "$1 holds \"$cell\", not \"$2\""
    shift 2
  done
}
clipboard_is() { [ "$(xclip -selection clipboard -o 2>/dev/null)" = "$1" ]; }
another_program_copies() {
  printf '%s' "$1" | xclip -selection clipboard 2>/dev/null
  wait_for 10 clipboard_is "$1" || fail "xclip did not take the clipboard"
}
# A document's cells: columns 76 pixels wide from 33, rows 17 high from 58
# below the close box's top.
click_cell() { changes_screen "a click on a cell" click_at $((33 + 76 * $2 + 38)) $((58 + dy + 17 * $1 + 8)); }

# The layer's default font: File > Document Layout, its Default font pop-up
# (DejaVu Sans Cyrillic is its item at y 188), then OK.
printf 'x\r\n' > "$work/pasted.csv"
saved_size=$(stat -c %s "$work/pasted.csv")
start_socket_app default_font_roads_open.png "$work/pasted.csv"
changes_screen "opening the File menu" xdotool mousemove 93 9 click 1
changes_screen "reaching Document Layout" glide 93 20 150 248
changes_screen "opening Document Layout" xdotool click 1
changes_screen "opening the font pop-up" xdotool mousemove 530 323 mousedown 1
changes_screen "reaching DejaVu Sans Cyrillic" glide 530 323 505 188
changes_screen "choosing DejaVu Sans Cyrillic" xdotool mouseup 1
shoot default_font_roads_layout.png
changes_screen "closing Document Layout" click_at 666 517

another_program_copies $'na\u00efve caf\u00e9\tZ\u00fcrich\n\u00c5sa\tcr\u00e8me'
click_cell 1 1
changes_screen "pasting" keys ctrl+v
shoot default_font_roads_pasted.png
expect_cells B2 "naïve café" C2 "Zürich" B3 "Åsa" C3 "crème" A1 "x"
keys ctrl+s
await_saved "$work/pasted.csv"
[ "$(tr -d '\r' < "$work/pasted.csv")" = "$(printf 'x\n,naïve café,Zürich\n,Åsa,crème')" ] ||
  fail "the saved CSV holds: $(tr '\r\n' '||' < "$work/pasted.csv")"
quit_app

# The preferences' default font (the font of their default format, at byte 4
# of the file, big-endian): the Cyrillic script's first font, 16384 + 6 * 512.
printf '\x4c\x00' | dd of="$(prefs_file)" bs=1 seek=4 conv=notrunc status=none
printf 'Z\xc3\xbcrich caf\xc3\xa9,\xc3\x85sa\r\n' > "$work/opened.csv"
saved_size=$(stat -c %s "$work/opened.csv")
start_socket_app default_font_roads_opened.png "$work/opened.csv"
expect_cells A1 "Zürich café" B1 "Åsa"
send set "value of cell C1 of document 1" "Москва" >/dev/null || fail "C1 not set"
keys ctrl+s
await_saved "$work/opened.csv"
shoot default_font_roads_saved.png
[ "$(tr -d '\r' < "$work/opened.csv")" = "Zürich café,Åsa,Москва" ] ||
  fail "the saved CSV holds: $(tr '\r\n' '||' < "$work/opened.csv")"
quit_app
echo "default font roads: ok"
