#!/usr/bin/env bash
# Save of a document whose file another program replaced while it was open,
# with the real program under Xvfb: a new file put in its place (written
# beside it and renamed), and later contents written into the file itself;
# each time Ctrl-S asks first, Return (Cancel) leaves the other program's file
# as it is, and OK writes the document over it (screenshots save_over_replaced_*.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
start_socket_session "$quorvin" 1024x768

printf 'Item,Amt\np,10\n' > "$work/c.csv"
make_document "$work/c.csv" "$work/c.qrv"
printf 'Other,Program\nq,99\n' > "$work/other.csv"
"$sheetconv" "$work/other.csv" "$work/other.qrv" || fail "no document from the converter"
start_socket_app save_over_replaced_open.png "$work/c.qrv"

# The question is a caution alert in the middle of the screen; its OK button
# is right of Cancel, the default.
ok_x=656
ok_y=321
asked() { [ "$(pixel "$1" 512 300)" = EEEEEE ]; }
not_asked() { ! asked "$1"; }
ours() { [ "$(send get "value of cell B2 of document 1" 2>/dev/null)" = "$1" ]; }
differs_from() { ! cmp -s "$work/c.qrv" "$1"; }

# asked_then_kept NAME: Ctrl-S asks; Return leaves the replacing file as it is.
asked_then_kept() {
  cp "$work/c.qrv" "$work/replacing.qrv"
  keys ctrl+s
  shoot_until "save_over_replaced_$1_asked.png" asked "save_over_replaced_$1_asked.png" ||
    fail "$1: Ctrl-S wrote over the replaced file without asking"
  keys Return
  shoot_until "save_over_replaced_$1_kept.png" not_asked "save_over_replaced_$1_kept.png" ||
    fail "$1: Return left the question up"
  cmp -s "$work/c.qrv" "$work/replacing.qrv" || fail "$1: Cancel wrote the file"
}

# Another program writes its file beside ours and renames it into place.
cp "$work/other.qrv" "$work/.c.qrv.new"
mv "$work/.c.qrv.new" "$work/c.qrv"
send set "value of cell B2 of document 1" 11 || fail "B2 not set"
asked_then_kept renamed
keys ctrl+s
shoot_until save_over_replaced_renamed_again.png asked save_over_replaced_renamed_again.png ||
  fail "the second Ctrl-S asked nothing"
xdotool mousemove "$ok_x" "$ok_y" click 1
wait_for 60 differs_from "$work/replacing.qrv" || fail "OK did not write the document"
ours 11 || fail "the document changed"

# Our own save is no replacement: the next Ctrl-S asks nothing.
send set "value of cell B2 of document 1" 12 || fail "B2 not set"
cp "$work/c.qrv" "$work/saved.qrv"
keys ctrl+s
wait_for 60 differs_from "$work/saved.qrv" || fail "Ctrl-S after our own save did not write"

# Another program writes into the file itself, later than our save.
cat "$work/other.qrv" > "$work/c.qrv"
send set "value of cell B2 of document 1" 13 || fail "B2 not set"
asked_then_kept rewritten

quit_without_saving
echo "save over replaced: ok"
