#!/usr/bin/env bash
# Starts the real program under Xvfb with a document to open: in the first
# screenshot that shows the document's window (opened_document.png) the
# command bar's Save button must already be dimmed (nothing changed yet), as
# every later one shows it, and the program must still quit cleanly.
# Arguments: the quorvin binary and the build folder (the screenshots go there).
source "$(dirname "$0")/app_script.bash"
start_session 1024x768
work=$(mktemp -d)
cp "$(dirname "$0")/data/display_sample.qrv" "$work/sample.qrv"

# The Save button's icon: its blue is light while the button is dimmed.
readonly save_point="95 33" dimmed_blue=6CA0D4 enabled_blue=0066CC
save_blue() { pixel "$1" $save_point; }
save_drawn() { case "$(save_blue "$1")" in "$dimmed_blue" | "$enabled_blue") return 0 ;; *) return 1 ;; esac; }

start_app "$quorvin" "$work/sample.qrv"
shoot_until opened_document.png has_document_title opened_document.png || fail "the document did not open"
save_drawn opened_document.png || fail "no Save button where the command bar's should be"
[ "$(save_blue opened_document.png)" = "$dimmed_blue" ] || fail "Save looked enabled as the document opened"

quit_app
echo "opened document buttons: ok"
