#!/usr/bin/env bash
# Text typed with Latin letters beside letters of other scripts, as a keyboard
# layout types it, with the real program under Xvfb: five such texts typed
# down column A of a CSV, a tab-separated and a SYLK document are written by
# Ctrl-S byte for byte as typed in UTF-8, read the same through the event
# socket and through the system clipboard after Ctrl-C; formulas over them
# show and answer the text of their source (screenshots mixed_scripts_*.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
skip_without xclip
start_socket_session "$quorvin" 1024x768

texts=("Příliš žluťoučký" "Zażółć gęślą" "abc Москва" "Tokyo 東京" "ďábel")
key_delay=60
rows=$(printf '%s\n' x "${texts[@]}")

# One document of each text format, A1 holding "x": Ctrl-S writes a document
# in the format it was read in.
printf 'x\r\n' > "$work/typed.csv"
printf 'x\r\n' > "$work/typed.tab"
"$sheetconv" "$work/typed.csv" "$work/typed.slk" || fail "the converter made no SYLK file"

value_of() { send get "value of cell $1 of document 1"; }
a6_stored() { [ -n "$(value_of A6 2>/dev/null)" ]; }
# Opens the document, types the texts down from A2 and saves it.
type_and_save() {
  local file=$work/typed.$1
  saved_size=$(stat -c %s "$file")
  start_app "$quorvin" "$file"
  await_socket
  await_document "mixed_scripts_$1_open.png"
  keys Down
  local text
  for text in "${texts[@]}"; do
    bind_letters "$text"
    typed "$text"
    keys Return
  done
  wait_for 60 a6_stored || fail "the texts typed into the $1 document were not stored"
}
saved_rows() { tr -d '\r' < "$1"; }

type_and_save csv
for i in 0 1 2 3 4; do
  cell=A$((i + 2))
  [ "$(value_of "$cell")" = "${texts[i]}" ] || fail "the socket answers \"$(value_of "$cell")\" for $cell, not \"${texts[i]}\""
done

# A document's cells: columns 76 pixels wide from 33, rows 17 high from 58
# below the close box's top.
click_cell() { changes_screen "a click on a cell" click_at $((33 + 76 * $2 + 38)) $((58 + dy + 17 * $1 + 8)); }

# A2:A6 copied to the system clipboard.
click_cell 1 0
keys shift+Down shift+Down shift+Down shift+Down ctrl+c
clipboard_holds_texts() { [ "$(xclip -selection clipboard -o 2>/dev/null | tr -d '\r')" = "$(printf '%s\n' "${texts[@]}")" ]; }
wait_for 20 clipboard_holds_texts ||
  fail "the clipboard holds \"$(xclip -selection clipboard -o 2>/dev/null | tr '\r\n' '||')\""

keys ctrl+s
await_saved "$work/typed.csv"
[ "$(saved_rows "$work/typed.csv")" = "$rows" ] || fail "the CSV holds: $(saved_rows "$work/typed.csv" | tr '\n' '|')"

# Formulas over the texts answer and show the text of their source.
click_cell 0 1
typed "=A5"; keys Return
typed "=LEFT(A5,7)"; keys Return
typed '=A4&", "&A5'; keys Return
b3_stored() { [ -n "$(value_of B3 2>/dev/null)" ]; }
wait_for 60 b3_stored || fail "the formulas were not stored"
[ "$(value_of B1)" = "Tokyo 東京" ] || fail "=A5 answers \"$(value_of B1)\""
[ "$(value_of B2)" = "Tokyo 東" ] || fail "=LEFT(A5,7) answers \"$(value_of B2)\""
[ "$(value_of B3)" = "abc Москва, Tokyo 東京" ] || fail "the joined texts answer \"$(value_of B3)\""
shoot mixed_scripts_formulas.png
quit_without_saving

type_and_save tab
keys ctrl+s
await_saved "$work/typed.tab"
quit_app
[ "$(saved_rows "$work/typed.tab")" = "$rows" ] || fail "the tab text holds: $(saved_rows "$work/typed.tab" | tr '\n' '|')"

type_and_save slk
keys ctrl+s
await_saved "$work/typed.slk"
quit_app
for text in "${texts[@]}"; do
  grep -qF "$text" "$work/typed.slk" || fail "the SYLK file does not hold \"$text\": $(tr '\r\n' '||' < "$work/typed.slk")"
done
"$sheetconv" "$work/typed.slk" "$work/again.csv" || fail "the converter cannot read the saved SYLK file"
[ "$(saved_rows "$work/again.csv")" = "$rows" ] || fail "the SYLK file reads back as: $(saved_rows "$work/again.csv" | tr '\n' '|')"
echo "mixed scripts: ok"
