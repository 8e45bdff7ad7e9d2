#!/usr/bin/env bash
# A script's "whose" over texts of several scripts, with the real program
# under Xvfb reached through qvsend: "= Москва" picks Москва alone among
# six-letter texts of Cyrillic, Greek and Japanese, and setting those cells
# changes no other; "Łódź" is not "Šódž"; "> Я" picks what sorts after Я;
# "contains" finds letters of any script in any case (screenshot
# script_whose_set.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
start_sender_session "$quorvin" 1024x768
start_socket_app script_whose_open.png

texts=("Лондон" "Москва" "Ελλάδα" "東京都庁ビル" "Łódź" "Šódž" "Paris" "Яблоко" "čaj – Καφές")
cells="of range A1:A${#texts[@]} of document 1"
for i in "${!texts[@]}"; do
  send set "value of cell A$((i + 1)) of document 1" "${texts[i]}" >/dev/null || fail "A$((i + 1)) not set"
done
picked() { send count "cells whose $1 $cells"; }
[ "$(picked 'value = "Москва"')" = 1 ] || fail "= Москва picks $(picked 'value = "Москва"') cells"
[ "$(picked 'value = "Łódź"')" = 1 ] || fail "= Łódź picks $(picked 'value = "Łódź"') cells"
[ "$(picked 'value > "Я"')" = 2 ] || fail "> Я picks $(picked 'value > "Я"') cells, not Яблоко and 東京都庁ビル"
[ "$(picked 'value contains "ΚΑΦ"')" = 1 ] || fail "contains ΚΑΦ picks $(picked 'value contains "ΚΑΦ"') cells"

send set "value of cells whose value = \"Москва\" $cells" "Berlin" >/dev/null || fail "the cells whose value is Москва were not set"
for i in "${!texts[@]}"; do
  expected=${texts[i]}
  [ "$i" = 1 ] && expected=Berlin
  got=$(send get "value of cell A$((i + 1)) of document 1")
  [ "$got" = "$expected" ] || fail "A$((i + 1)) holds \"$got\", not \"$expected\""
done
shoot script_whose_set.png
quit_without_saving
echo "script whose: ok"
