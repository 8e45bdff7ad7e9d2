#!/usr/bin/env bash
# Text of several scripts with the real program under Xvfb: a UTF-8 CSV of
# Japanese, Chinese, Korean, Greek, Russian and Czech text opens without loss
# and is drawn in each script's font; Japanese typed into B1 (the host's text
# input) is stored in the Japanese script; Ctrl-S writes the CSV back in UTF-8,
# the document opens again showing the same, and the converter takes it through
# a document and back to the same bytes (screenshots scripts_road_*.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
start_converter_session "$quorvin" 1024x768

typed() { xdotool type --window "$window" --delay 80 "$1"; }

printf '%s\r\n' "東京,日本語" "北京,简体中文" "서울,한국어" "Αθήνα,Ελλάδα" "Москва,Россия" \
  "Praha,Příliš žluťoučký kůň" > "$work/world.csv"

start_app "$quorvin" "$work/world.csv"
# No note of replaced characters comes first: the document window is shown at once.
row_box() { echo "150x14+36+$((56 + 16 * $1 + dy))"; }
# Whether the document shows, with text in each of its six rows.
rows_drawn() {
  has_document "$1" || return 1
  dy=$(document_drop "$1")
  local row
  for row in 1 2 3 4 5 6; do
    [ "$(dark_pixels "$1" "$(row_box "$row")")" -gt 40 ] || return 1
  done
}
shoot_until scripts_road_open.png rows_drawn scripts_road_open.png || fail "the six rows are not drawn"

bind_letters "大阪"
keys Right
typed "大阪"
keys Return
b1_changed() { [ "$(convert "$out/$1" -crop "$(row_box 1)" -format "%#" info:)" != \
                 "$(convert "$out/scripts_road_open.png" -crop "$(row_box 1)" -format "%#" info:)" ]; }
shoot_until scripts_road_typed.png b1_changed scripts_road_typed.png || fail "the typed text is not shown in B1"
before=$(md5sum < "$work/world.csv")
keys ctrl+s
saved() { [ "$(md5sum < "$work/world.csv")" != "$before" ]; }
wait_for 60 saved || fail "Ctrl-S did not save the document"
quit_app

expected=$(printf '%s\r\n' "東京,大阪" "北京,简体中文" "서울,한국어" "Αθήνα,Ελλάδα" "Москва,Россия" \
  "Praha,Příliš žluťoučký kůň")
[ "$(cat "$work/world.csv")" = "$expected" ] || fail "saved text differs: $(tr '\r\n' '|' < "$work/world.csv")"

start_app "$quorvin" "$work/world.csv"
row_1_drawn() { has_document "$1" && [ "$(dark_pixels "$1" "$(row_box 1)")" -gt 40 ]; }
shoot_until scripts_road_reopened.png row_1_drawn scripts_road_reopened.png || fail "row 1 is not drawn again"
quit_without_saving  # an opened text counts as changed

"$sheetconv" "$work/world.csv" "$work/world.qrv" || fail "the converter could not read the CSV"
"$sheetconv" "$work/world.qrv" "$work/back.csv" || fail "the converter could not write the CSV"
cmp -s "$work/world.csv" "$work/back.csv" || fail "the CSV changed through a document: $(tr '\r\n' '|' < "$work/back.csv")"
echo "scripts road: ok"
