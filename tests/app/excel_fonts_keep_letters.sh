#!/usr/bin/env bash
# An Excel workbook (data/scripts_in_fonts.xls) whose texts "naïve — 5 €",
# "Grüße", "café", "Москва", "東京" and "Zürich ¥" stand in its own font,
# "Noto Sans CJK JP", "DejaVu Sans Cyrillic", "DejaVu Sans Greek" and
# "DejaVu Sans CE" (A1:E6), with formulas ="Москва" in the Cyrillic font,
# ="東京", ="Grüße"&" café" in the Japanese font and ="東京"&"ü" (A7:D7), and
# amounts in euros and yen (A8:B8), opened with the real program under Xvfb:
# the one note says the last formula was kept as its value; every cell reads
# back in its letters through the event socket, the formulas as written, and
# the document saved holds them too. Opened again with "DejaVu Sans Cyrillic"
# as the preferences' default font, it reads and saves the same letters, and
# the amounts still show "€2.50" and "¥100". Screenshots
# excel_fonts_keep_letters_*.png.
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
start_socket_session "$quorvin" 1024x768
cp "$(dirname "$0")/data/scripts_in_fonts.xls" "$work/scripts.xls"

# The converter reads it with the same loss: exit 3, the cell named.
"$sheetconv" --values "$work/scripts.xls" "$work/converted.csv" 2>"$work/converted.err"
[ $? -eq 3 ] || fail "the converter did not exit with 3 for the formula kept as its value"
grep -q "D7: texts of several scripts" "$work/converted.err" || fail "the converter's note: $(cat "$work/converted.err")"

texts=("naïve — 5 €" "Grüße" "café" "Москва" "東京" "Zürich ¥")
formulas=('="Москва"' '="東京"' '="Grüße"&" café"')
results=("Москва" "東京" "Grüße café")

note_shown() { [ "$(pixel "$1" 512 300)" = EEEEEE ] && [ "$(pixel "$1" 350 258)" = 2E61C2 ]; }
value_of() { send get "value of cell $1 of document 1"; }
save_dialog_shown() { [ "$(pixel "$1" 700 300)" = FFFFFF ]; }

# check_cells WHAT: every cell, read through the socket, holds its letters.
check_cells() {
  local row column i found
  for row in 1 2 3 4 5 6; do
    for column in A B C D E; do
      found=$(value_of "$column$row")
      [ "$found" = "${texts[row - 1]}" ] || fail "$1: $column$row reads \"$found\", not \"${texts[row - 1]}\""
    done
  done
  for i in 0 1 2; do
    column=$(printf "\\x$(printf %x $((65 + i)))")
    found=$(send get "formula of cell ${column}7 of document 1")
    [ "$found" = "${formulas[i]}" ] || fail "$1: ${column}7 holds the formula $found, not ${formulas[i]}"
    found=$(value_of "${column}7")
    [ "$found" = "${results[i]}" ] || fail "$1: ${column}7 reads \"$found\", not \"${results[i]}\""
  done
  [ "$(value_of D7)" = "東京ü" ] || fail "$1: D7 reads \"$(value_of D7)\", not the value 東京ü"
}

# open_and_save NAME: opens NAME.xls, checks its cells and saves it as NAME.qrv
# through the Save dialog (the workbook was read with a loss, so its file is
# not written over unasked); the saved document shows the amounts with their
# currencies.
open_and_save() {
  local name=$1 shot=excel_fonts_keep_letters_$1
  cp "$(dirname "$0")/data/scripts_in_fonts.xls" "$work/$name.xls"
  start_app "$quorvin" "$work/$name.xls"
  shoot_until "${shot}_note.png" note_shown "${shot}_note.png" || fail "$name: no note of the formula kept as its value"
  changes_screen "closing the note" keys Return
  await_socket
  await_document "${shot}_open.png"
  check_cells "$name"
  keys ctrl+s
  shoot_until "${shot}_save.png" save_dialog_shown "${shot}_save.png" || fail "$name: Ctrl-S brought up no Save dialog"
  keys Return
  saved() { [ -s "$work/$name.qrv" ]; }
  wait_for 60 saved || fail "$name: the document was not saved"
  quit_app
  read_saved_rows --shown "$work/$name.qrv"
  [ "$(printf '%s\n' "$saved_rows" | tail -1)" = "$(printf '€2.50\t¥100')" ] ||
    fail "$name: the amounts show as: $(printf '%s\n' "$saved_rows" | tail -1)"
}

open_and_save roman
read_saved_rows --values "$work/roman.qrv"
expected=$(for row in 0 1 2 3 4 5; do t=${texts[row]}; printf '%s,%s,%s,%s,%s\n' "$t" "$t" "$t" "$t" "$t"; done
           printf 'Москва,東京,Grüße café,東京ü\n2.5,100')
[ "$saved_rows" = "$expected" ] || fail "the saved document holds: $(printf '%s' "$saved_rows" | tr '\n' '|')"

# The preferences' default font (the font field of the default format, which
# begins at offset 2, big-endian): DejaVu Sans Cyrillic. The saved document
# names that font as its layer's, which only the program knows by that name:
# it is read back by opening it again.
printf '\x4c\x00' | dd of="$(prefs_file)" bs=1 seek=4 conv=notrunc status=none
open_and_save cyrillic
start_app "$quorvin" "$work/cyrillic.qrv"
await_socket
await_document excel_fonts_keep_letters_cyrillic_saved.png
check_cells "cyrillic.qrv"
quit_without_saving
echo "excel fonts keep letters: ok"
