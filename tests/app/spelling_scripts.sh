#!/usr/bin/env bash
# Spelling a sheet of seven scripts with the real program under Xvfb: of Roman,
# Czech and Polish, Cyrillic, Greek, Japanese, Korean and Chinese words the US
# English dictionary flags only the misspelt Latin words, "brwn" and the
# "Moscw" among Cyrillic words; each is changed to what is typed, exactly that
# word, and no other cell changes (screenshots spelling_scripts_*.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
start_socket_session "$quorvin" 1024x768

rows=("The quick brwn fox" "Příliš žluťoučký kůň Zażółć gęślą" "Москва Moscw столица" "Αθήνα Αθήνα"
      "東京 データ 東京" "서울 한국어" "北京 简体")
printf '%s\r\n' "${rows[@]}" > "$work/words.csv"
start_app "$quorvin" "$work/words.csv"
await_socket

# The spelling window is in front (its close box red) with a word shown.
is_red() { case "$(pixel "$1" 299 264)" in [C-F]?[0-6]?[0-6]?) return 0;; *) return 1;; esac; }
word_shown() { [ "$(dark_pixels "$1" 90x14+412+290)" -gt 20 ]; }
spelling_front() { is_red "$1" && word_shown "$1"; }
value_of() { send get "value of cell A$1 of document 1"; }
holds() { [ "$(value_of "$1")" = "$2" ]; }

xdotool key ctrl+shift+l
shoot_until spelling_scripts_first.png spelling_front spelling_scripts_first.png || fail "no spelling window"
# The replacement field holds the word's first suggestion, selected: typing replaces it.
typed "brown"
keys Return
rows[0]="The quick brown fox"
wait_for 60 holds 1 "${rows[0]}" || fail "A1 holds \"$(value_of 1)\""
shoot_until spelling_scripts_second.png spelling_front spelling_scripts_second.png || fail "no second word"
typed "Moscow"
keys Return
rows[2]="Москва Moscow столица"
wait_for 60 holds 3 "${rows[2]}" || fail "A3 holds \"$(value_of 3)\""
# Nothing else is flagged: the check ends, its buttons dimmed (Change among them).
change_dimmed() { [ "$(dark_pixels "$1" 50x10+657+348)" -lt 5 ]; }
shoot_until spelling_scripts_done.png change_dimmed spelling_scripts_done.png || fail "the check did not end"
for row in 1 2 3 4 5 6 7; do
  holds "$row" "${rows[row - 1]}" || fail "A$row holds \"$(value_of "$row")\", not \"${rows[row - 1]}\""
done
quit_without_saving
echo "spelling in seven scripts: ok"
