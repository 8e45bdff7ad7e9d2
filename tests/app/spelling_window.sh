#!/usr/bin/env bash
# The spelling window is a window of its own in the real program under Xvfb:
# Edit > Spelling shows it over the document with the misspelled word
# (spelling_window_open.png); a click on the document brings the document to
# the front over it (spelling_window_behind.png); Spelling again brings it
# back (spelling_window_back.png) and File > Close closes it, leaving the
# document open (spelling_window_closed.png).
# Arguments: the quorvin binary and the build folder (the screenshots go there).
source "$(dirname "$0")/app_script.bash"
start_converter_session "$quorvin" 1024x768
printf 'Quarterly recieve totals\r\n' > "$work/words.csv"
make_document "$work/words.csv" "$work/words.qrv"

# The spelling window stands in the middle of the screen, its right part
# beside the document window: its close box is red while it is the front
# window, and the misspelled word is drawn right of "Not in dictionary:".
is_red() { case "$(pixel "$1" 299 264)" in [C-F]?[0-6]?[0-6]?) return 0;; *) return 1;; esac; }
word_shown() { [ "$(dark_pixels "$1" 90x14+412+290)" -gt 20 ]; }
beside_document_shown() { ! is_desktop "$1" 700 400; }
spelling_front() { is_red "$1" && word_shown "$1"; }
behind() { ! is_red "$1" && beside_document_shown "$1" && has_document_title "$1"; }
closed() { is_desktop "$1" 700 400 && has_document_title "$1"; }

start_app "$quorvin" "$work/words.qrv"
await_document spelling_window.png has_document_title
xdotool key ctrl+shift+l
shoot_until spelling_window_open.png spelling_front spelling_window_open.png || fail "no spelling window"
# A cell of the document below the spelling window.
click_at 60 $((420 + dy))
shoot_until spelling_window_behind.png behind spelling_window_behind.png ||
  fail "the document did not come to the front over the spelling window"
xdotool key ctrl+shift+l
shoot_until spelling_window_back.png spelling_front spelling_window_back.png ||
  fail "Spelling did not bring its window back to the front"
xdotool key ctrl+w
shoot_until spelling_window_closed.png closed spelling_window_closed.png || fail "Close did not close the spelling window"

quit_without_saving
echo "spelling window: ok"
