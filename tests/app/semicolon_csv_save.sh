#!/usr/bin/env bash
# Ctrl-S on a CSV document whose fields are split by semicolons, with the real
# program under Xvfb: the question at the open offers Semicolon, Return takes
# it; a value typed into a cell is saved and the file keeps its semicolons
# (screenshots semicolon_csv_save_*.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
start_socket_session "$quorvin" 1024x768

printf 'Item;Amt\r\np;10,5\r\nq;20\r\n' > "$work/data.csv"
cp "$work/data.csv" "$work/data.original"
start_app "$quorvin" "$work/data.csv"

# The question is a dialog in the middle of the screen, its Open button the default.
asked() { [ "$(pixel "$1" 512 384)" = EEEEEE ]; }
shoot_until semicolon_csv_save_asked.png asked semicolon_csv_save_asked.png || fail "the open asked for no separator"
keys Return
await_socket
await_document semicolon_csv_save_open.png
cell_is() { [ "$(send get "value of cell $1 of document 1" 2>/dev/null)" = "$2" ]; }
cell_is B2 "10,5" || fail "the fields were not split by semicolons"

# A value typed into B3.
send select "range B3" >/dev/null || fail "B3 not selected"
typed 21
keys Return
wait_for 30 cell_is B3 21 || fail "the typed value did not reach B3"
keys ctrl+s
written() { ! cmp -s "$work/data.csv" "$work/data.original"; }
wait_for 60 written || fail "Ctrl-S did not write the file"
expected=$(printf 'Item;Amt\np;10,5\nq;21')
[ "$(tr -d '\r' < "$work/data.csv")" = "$expected" ] ||
  fail "the file was written as $(tr '\r\n\t' '  ^' < "$work/data.csv")"
shoot semicolon_csv_save_saved.png
has_document semicolon_csv_save_saved.png || fail "the document window is gone"

quit_app
echo "semicolon csv save: ok"
