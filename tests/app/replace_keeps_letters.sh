#!/usr/bin/env bash
# Replace All in the Find window of the real program under Xvfb over cells of
# other scripts: "x" replaced by "crème" in "москва x", "東京 x" and "Paris x"
# keeps every letter; then "crème" found and replaced by "café" typed and
# "東京" pasted from another program gives "москва café東京", "東京 café東京"
# and "Paris café東京", as the event socket and the saved CSV read the cells
# (screenshots replace_keeps_letters_*.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
skip_without xclip
start_socket_session "$quorvin" 1024x768
key_delay=60

before=("москва x" "東京 x" "Paris x")
after=("москва crème" "東京 crème" "Paris crème")
final=("москва café東京" "東京 café東京" "Paris café東京")
printf 'y\r\n' > "$work/replaced.csv"
start_socket_app replace_keeps_letters_open.png "$work/replaced.csv"

value_of() { send get "value of cell $1 of document 1"; }
for i in "${!before[@]}"; do
  send set "value of cell A$((i + 1)) of document 1" "${before[i]}" >/dev/null || fail "A$((i + 1)) not set"
done
values() { local i; for i in "${!before[@]}"; do printf '%s|' "$(value_of "A$((i + 1))")"; done; }
[ "$(values)" = "$(printf '%s|' "${before[@]}")" ] || fail "the texts were not stored as sent: $(values)"

# The Find window's content opens at (100, 138): Find Next at (412, 22) in it,
# Replace All at (412, 106).
find_next() { changes_screen "pressing Find Next" click_at 512 160; }
replace_all() { changes_screen "pressing Replace All" click_at 512 244; }
clipboard_is() { [ "$(xclip -selection clipboard -o 2>/dev/null)" = "$1" ]; }
another_program_copies() {
  printf '%s' "$1" | xclip -selection clipboard -t UTF8_STRING 2>/dev/null
  wait_for 10 clipboard_is "$1" || fail "xclip did not take the clipboard"
}

bind_letters "crèmecafé"
changes_screen "opening the Find window" keys ctrl+f
changes_screen "typing the search text" typed x
keys Tab
changes_screen "typing the replacement" typed "crème"
shoot replace_keeps_letters_typed.png
replace_all
shoot replace_keeps_letters_replaced.png
[ "$(values)" = "$(printf '%s|' "${after[@]}")" ] || fail "Replace All stored $(values)"

# The search field, then the replacement: each taken whole and typed over.
keys Tab ctrl+a
changes_screen "typing the second search text" typed "crème"
keys Tab ctrl+a
changes_screen "typing café" typed "café"
another_program_copies "東京"
changes_screen "pasting 東京" keys ctrl+v
# From A3 on, wrapping once to A1, then A2: its text shown with the hit.
find_next
find_next
find_next
shoot replace_keeps_letters_found.png
replace_all
shoot replace_keeps_letters_replaced_again.png
[ "$(values)" = "$(printf '%s|' "${final[@]}")" ] || fail "Replace All by café東京 stored $(values)"
keys Escape

keys ctrl+s
await_saved "$work/replaced.csv"
[ "$(tr -d '\r' < "$work/replaced.csv")" = "$(printf '%s\n' "${final[@]}")" ] ||
  fail "the CSV holds: $(tr '\r\n' '||' < "$work/replaced.csv")"

quit_without_saving
echo "replace keeps letters: ok"
