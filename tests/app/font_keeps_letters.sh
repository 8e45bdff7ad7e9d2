#!/usr/bin/env bash
# A font chosen in the command bar's font pop-up over cells of several
# scripts, with the real program under Xvfb: "DejaVu Sans" chosen by mouse
# over the whole sheet keeps every cell's letters as the event socket and the
# saved CSV read them; "DejaVu Sans Cyrillic" on "café crème" keeps them too
# (screenshots font_keeps_letters_*.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
start_socket_session "$quorvin" 1024x768
key_delay=60

texts=("café crème" "Москва" "東京" "Αθήνα" "Příliš žluťoučký" "Tokyo 東京 Москва")
printf 'x\r\n' > "$work/letters.csv"
saved_size=$(stat -c %s "$work/letters.csv")
start_socket_app font_keeps_letters_open.png "$work/letters.csv"

value_of() { send get "value of cell $1 of document 1"; }
for i in "${!texts[@]}"; do
  send set "value of cell A$((i + 1)) of document 1" "${texts[i]}" >/dev/null || fail "A$((i + 1)) not set"
done
all_kept() {
  local i
  for i in "${!texts[@]}"; do [ "$(value_of "A$((i + 1))")" = "${texts[i]}" ] || return 1; done
}
all_kept || fail "the texts were not stored as sent"

# The font pop-up: its box left of its arrow in the command bar.
choose_font() {
  changes_screen "opening the font pop-up" xdotool mousemove 330 33 mousedown 1
  shoot "font_keeps_letters_$2_menu.png"
  changes_screen "reaching \"$1\"" glide 330 33 340 "$3"
  changes_screen "choosing \"$1\"" xdotool mouseup 1
}
keys ctrl+a
shoot font_keeps_letters_selected.png
# The pop-up opens below its box, an item every 18 pixels from y 51.
choose_font "DejaVu Sans" sans 105
shoot font_keeps_letters_sans.png
all_kept || fail "DejaVu Sans changed letters: $(for i in 1 2 3 4 5 6; do printf '%s|' "$(value_of A$i)"; done)"

keys ctrl+s
await_saved "$work/letters.csv"
[ "$(tr -d '\r' < "$work/letters.csv")" = "$(printf '%s\n' "${texts[@]}")" ] ||
  fail "the CSV holds: $(tr '\r\n' '||' < "$work/letters.csv")"

# A1 alone in DejaVu Sans Cyrillic, a font of a script that cannot spell it.
changes_screen "selecting A1" click_at 72 118
choose_font "DejaVu Sans Cyrillic" cyrillic 141
shoot font_keeps_letters_cyrillic.png
[ "$(value_of A1)" = "café crème" ] || fail "DejaVu Sans Cyrillic turned café crème into \"$(value_of A1)\""
all_kept || fail "DejaVu Sans Cyrillic on A1 changed letters"

quit_without_saving
echo "font keeps letters: ok"
