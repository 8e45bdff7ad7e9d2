#!/usr/bin/env bash
# Ctrl-S on a UTF-16 CSV document with LF line ends, with the real program
# under Xvfb: the file is written back in UTF-16 with its byte-order mark and
# LF line ends, holding the changed value (screenshots text_form_save_*.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
skip_without iconv od
start_socket_session "$quorvin" 1024x768

printf '\xFF\xFE' > "$work/wide.csv"
printf 'Item,Amt\np,10\n' | iconv -f UTF-8 -t UTF-16LE >> "$work/wide.csv"
cp "$work/wide.csv" "$work/wide.original"
start_socket_app text_form_save_open.png "$work/wide.csv"

send set "value of cell B2 of document 1" 11 || fail "B2 not set"
keys ctrl+s
written() { ! cmp -s "$work/wide.csv" "$work/wide.original"; }
wait_for 60 written || fail "Ctrl-S did not write the file"
[ "$(od -An -tx1 -N2 "$work/wide.csv" | tr -d ' ')" = fffe ] || fail "the file lost its UTF-16 mark"
text=$(tail -c +3 "$work/wide.csv" | iconv -f UTF-16LE -t UTF-8) || fail "the file is no longer UTF-16"
[ "$text" = "$(printf 'Item,Amt\np,11')" ] || fail "the file holds $(printf '%s' "$text" | od -c | head -3)"
shoot text_form_save_saved.png
has_document text_form_save_saved.png || fail "the document window is gone"

quit_app
echo "text form save: ok"
