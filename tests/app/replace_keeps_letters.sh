#!/usr/bin/env bash
# Replace All in the Find window of the real program under Xvfb over cells of
# other scripts: "x" replaced by "crème" in "москва x", "東京 x" and "Paris x"
# keeps every letter, as the event socket and the saved CSV read the cells
# (screenshots replace_keeps_letters_*.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
start_socket_session "$quorvin" 1024x768
key_delay=60

before=("москва x" "東京 x" "Paris x")
after=("москва crème" "東京 crème" "Paris crème")
printf 'y\r\n' > "$work/replaced.csv"
start_socket_app replace_keeps_letters_open.png "$work/replaced.csv"

value_of() { send get "value of cell $1 of document 1"; }
for i in "${!before[@]}"; do
  send set "value of cell A$((i + 1)) of document 1" "${before[i]}" >/dev/null || fail "A$((i + 1)) not set"
done
values() { local i; for i in "${!before[@]}"; do printf '%s|' "$(value_of "A$((i + 1))")"; done; }
[ "$(values)" = "$(printf '%s|' "${before[@]}")" ] || fail "the texts were not stored as sent: $(values)"

# The Find window's content opens at (100, 138): Replace All at (412, 106) in it.
changes_screen "opening the Find window" keys ctrl+f
changes_screen "typing the search text" typed x
keys Tab
bind_letters "crème"
changes_screen "typing the replacement" typed "crème"
shoot replace_keeps_letters_typed.png
changes_screen "pressing Replace All" click_at 512 244
shoot replace_keeps_letters_replaced.png
[ "$(values)" = "$(printf '%s|' "${after[@]}")" ] || fail "Replace All stored $(values)"
keys Escape

keys ctrl+s
await_saved "$work/replaced.csv"
[ "$(tr -d '\r' < "$work/replaced.csv")" = "$(printf '%s\n' "${after[@]}")" ] ||
  fail "the CSV holds: $(tr '\r\n' '||' < "$work/replaced.csv")"

quit_without_saving
echo "replace keeps letters: ok"
