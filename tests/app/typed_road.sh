#!/usr/bin/env bash
# Types into a document with the real program under Xvfb: 1, 2, 3 and
# =SUM(A1:A3) down column A, then 10 over A1, and in B1 a formula whose
# reference is pointed at with an arrow key; saves with Ctrl-S and reads the
# file back with the converter (screenshots typed_road_*.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
start_converter_session "$quorvin" 1024x768

# A document with nothing in it, made by the converter from an empty table.
: > "$work/empty.csv"
make_document "$work/empty.csv" "$work/road.qrv"

start_app "$quorvin" "$work/road.qrv"
await_document typed_road_open.png
a4="72x14+36+$((108 + dy))"

key_delay=30
typed 1; keys Return
typed 2; keys Return
typed 3; keys Return
typed "=SUM(A1:A3)"
typed_in_cell() { [ "$(dark_pixels "$1" "$a4")" -gt 60 ]; }
shoot_until typed_road_in_cell.png typed_in_cell typed_road_in_cell.png || fail "the typed text is not shown in A4"
keys Return
keys Up Up Up Up
typed 10; keys Return
keys Up Right
typed "="; keys Left
typed "*2"; keys Return
keys ctrl+s

await_saved "$work/road.qrv"
shoot typed_road_saved.png
quit_app

read_saved_rows --values "$work/road.qrv"
[ "$saved_rows" = $'10,20\n2\n3\n15' ] || fail "saved cells differ: $(tr '\n' '|' <<< "$saved_rows")"
echo "typed road: ok"
