#!/usr/bin/env bash
# Files read with losses are never saved over without the user choosing them,
# with the real program under Xvfb: a UTF-8 CSV holding Thai text (no
# installed script spells it: its characters become "?") is changed and Ctrl-S brings up the Save dialog instead of
# writing "???" into the file; with the native format chosen in the pop-up and
# the extension box checked, a name typed without extension saves "name.qrv". A CSV of 100,000 lines (more than a layer holds)
# is changed and saved while quitting: the Save dialog comes up and the source
# keeps its 100,000 lines. Screenshots lossy_import_*.png.
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
start_converter_session "$quorvin" 1024x768

# The import's note, centred on the screen; the Save dialog, whose file list
# covers the right of the screen where the document window leaves desktop.
note_shown() { [ "$(pixel "$1" 400 300)" = EEEEEE ]; }
save_dialog_shown() { [ "$(pixel "$1" 700 300)" = FFFFFF ]; }
lines_of() { tr -d '\r' < "$1" | grep -c ''; }

# ---- Thai ----------------------------------------------------------------------
printf '\xe0\xb9\x84\xe0\xb8\x97\xe0\xb8\xa2,1\n2,3\n' > "$work/tokyo.csv"
cp "$work/tokyo.csv" "$work/tokyo.original"
start_app "$quorvin" "$work/tokyo.csv"
shoot_until lossy_import_note.png note_shown lossy_import_note.png || fail "no note of the replaced characters"
keys Return
shoot_until lossy_import_open.png has_document lossy_import_open.png || fail "no document window"
keys Right Right 5 Return
keys ctrl+s
shoot_until lossy_import_save_dialog.png save_dialog_shown lossy_import_save_dialog.png ||
  fail "Ctrl-S did not bring up the Save dialog"
cmp -s "$work/tokyo.csv" "$work/tokyo.original" || fail "Ctrl-S wrote over the file read with losses"

# The format pop-up, opened, and the native format chosen in it; the check box
# then puts extensions on names, so the name typed without one gets ".qrv".
xdotool mousemove 470 470 sleep 0.2 mousemove 480 479 sleep 0.2 mousedown 1
formats_open() { [ "$(pixel "$1" 610 480)" = 3B7EE0 ]; }  # the shown format highlighted in the open menu
shoot_until lossy_import_formats.png formats_open lossy_import_formats.png || fail "the format pop-up did not open"
xdotool mousemove 480 470 sleep 0.1 mousemove 480 440 sleep 0.1 mousemove 480 418 sleep 0.1 mouseup 1
native_shown() { [ "$(pixel "$1" 610 480)" = E8E8E8 ] && [ "$(pixel "$1" 480 420)" = FFFFFF ]; }
shoot_until lossy_import_native.png native_shown lossy_import_native.png || fail "the pop-up did not close"
xdotool mousemove 297 505 click 1
extension_on() { [ "$(pixel "$1" 302 502)" = 3B7EE0 ]; }  # the check mark
shoot_until lossy_import_extension.png extension_on lossy_import_extension.png || fail "the check box did not turn on"
typed "tokyo-2"
keys Return
saved_document() { [ -s "$work/tokyo-2.qrv" ]; }
wait_for 60 saved_document || fail "the document was not saved under the name typed"
cmp -s "$work/tokyo.csv" "$work/tokyo.original" || fail "the file read with losses changed"
"$sheetconv" --values "$work/tokyo-2.qrv" "$work/tokyo-2.csv" || fail "the name typed with .qrv holds no document"
[ "$(tr -d '\r' < "$work/tokyo-2.csv" | head -1)" = "???,1,5" ] || fail "saved cells differ: $(head -1 "$work/tokyo-2.csv")"
quit_app

# ---- 100,000 lines -------------------------------------------------------------
seq 1 100000 > "$work/big.csv"
start_app "$quorvin" "$work/big.csv"
shoot_until lossy_import_rows_note.png note_shown lossy_import_rows_note.png || fail "no note of the lines left out"
keys Return
shoot_until lossy_import_big.png has_document lossy_import_big.png || fail "no document window"
typed 7
keys Return
# The quit comes as a signal, ahead of keys not yet handled: first the entry is
# stored and the active cell's name (left of the entry line) turns to A2.
cell_name_of() { convert "$out/$1" -crop 90x14+16+50 -format "%#" info:; }
entry_stored() { [ "$(cell_name_of "$1")" != "$(cell_name_of lossy_import_big.png)" ]; }
shoot_until lossy_import_changed.png entry_stored lossy_import_changed.png || fail "the entry was not stored"
kill -TERM "$app_pid"
# Asked whether to save the changes: Save.
asked() { [ "$(pixel "$1" 700 300)" = EEEEEE ]; }
shoot_until lossy_import_quit_question.png asked lossy_import_quit_question.png || fail "quitting did not ask to save"
keys Return
shoot_until lossy_import_quit_save.png save_dialog_shown lossy_import_quit_save.png ||
  fail "saving while quitting did not bring up the Save dialog"
[ "$(lines_of "$work/big.csv")" = 100000 ] || fail "the source lost lines"
typed "big-2.csv"
keys Return
wait_for_exit "after saving" || fail "quorvin did not end cleanly after saving"
[ "$(lines_of "$work/big.csv")" = 100000 ] || fail "the source lost lines: $(lines_of "$work/big.csv")"
[ "$(lines_of "$work/big-2.csv")" = 32000 ] || fail "the copy saved has $(lines_of "$work/big-2.csv") lines"
[ "$(tr -d '\r' < "$work/big-2.csv" | head -1)" = 7 ] || fail "the change is not in the copy saved"
echo "lossy import save: ok"
