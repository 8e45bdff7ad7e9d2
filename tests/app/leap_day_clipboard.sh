#!/usr/bin/env bash
# A date copied from a workbook that counts dates from 1900
# (data/leap_day_1900.xls: A1 shows 2024/2/29) goes to the system clipboard as
# that day, and pasted into a new document, which counts from 1904, names the
# same day: its YEAR, MONTH and DAY read through the event socket. Screenshots
# leap_day_clipboard_*.png.
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
skip_without xclip
start_socket_session "$quorvin" 1024x768
cp "$(dirname "$0")/data/leap_day_1900.xls" "$work/leap_day.xls"

clipboard_is() { [ "$(xclip -selection clipboard -o 2>/dev/null | tr -d '\r')" = "$1" ]; }
printf 'before' | xclip -selection clipboard 2>/dev/null
wait_for 10 clipboard_is before || fail "xclip did not take the clipboard"

start_socket_app leap_day_clipboard_open.png "$work/leap_day.xls"
keys ctrl+c
wait_for 10 clipboard_is 2/29/2024 ||
  fail "Ctrl-C put '$(xclip -selection clipboard -o 2>/dev/null)' on the clipboard, not 2/29/2024"

keys ctrl+n
wait_for 60 documents_open 2 || fail "Ctrl-N made no second document"
new_document=$(send get "name of document 1")
[ "$new_document" != leap_day.xls ] || fail "the new document is not the front one"
changes_screen "pasting the date" keys ctrl+v
shoot leap_day_clipboard_pasted.png

for part in YEAR MONTH DAY; do
  send set "formula of cell B1 of document 1" "=$part(A1)" >/dev/null || fail "the formula of $part was refused"
  got=$(send get "value of cell B1 of document 1")
  case $part in YEAR) want=2024 ;; MONTH) want=2 ;; DAY) want=29 ;; esac
  [ "$got" = "$want" ] || fail "the pasted date's $part is $got, not $want"
done
quit_without_saving
echo "leap day through the clipboard: ok"
