#!/usr/bin/env bash
# Texts of two scripts joined by a formula in the real program under Xvfb:
# Japanese and Greek joined in C1 show "?" for what Japanese cannot spell, and
# the program says so in an alert (unspelled_joins_told.png); after OK the
# document is there to use (unspelled_joins_after.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
start_converter_session "$quorvin" 1024x768

printf '%s\r\n' '東京,Ελλάδα,=A1&B1' > "$work/joined.csv"
start_app "$quorvin" "$work/joined.csv"
alert_shown() { [ "$(pixel "$1" 512 300)" = EEEEEE ]; }
shoot_until unspelled_joins_told.png alert_shown unspelled_joins_told.png ||
  fail "no word of the join no one script spells"
keys Return
gone() { ! alert_shown "$1" && has_document "$1"; }
shoot_until unspelled_joins_after.png gone unspelled_joins_after.png || fail "the alert stayed or no document shows"
quit_without_saving
echo "unspelled joins: ok"
