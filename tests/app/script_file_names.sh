#!/usr/bin/env bash
# A document whose file name Mac Roman cannot spell, with the real program
# under Xvfb: "Москва.csv" opened from the command line shows its name in its
# script in the title bar (script_file_names_title.png) and Ctrl-S saves the
# change over that same file; opened again through the Open dialog, which lists
# it by its name (script_file_names_open.png), it saves over itself once more.
# No other file is left in its folder.
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
start_converter_session "$quorvin" 1024x768
name="Москва.csv"
document="$work/$name"
printf 'Latin,1\r\n' > "$document"
only_the_document() { [ "$(ls -A "$work")" = "$name" ]; }

# B1 changed to DIGIT twice by keys, then saved with Ctrl-S; what is on the
# screen when it is not saved goes to SCREENSHOT.
holds() { [ "$(tr -d '\r' < "$document")" = "$1" ]; }
change_and_save() {
  keys Right "$1" "$1" Return ctrl+s
  wait_for 60 holds "Latin,$1$1" || { shoot "$2"; fail "Ctrl-S did not save: the file holds \"$(cat "$document")\""; }
  only_the_document || fail "the save left other files: $(ls -A "$work")"
}

# The ink of the front document window's title.
title_ink() { dark_pixels "$1" "560x14+70+$((24 + $(document_drop "$1")))"; }

start_app "$quorvin" "$document"
await_document script_file_names_title.png has_document_title
named_title=$(title_ink script_file_names_title.png)
change_and_save 5 script_file_names_unsaved.png
quit_app

# The Open dialog starts in the home folder, here the document's, and lists
# the document first; the document's window comes to the front with its title.
open_dialog_shown() { [ "$(pixel "$1" 700 300)" = FFFFFF ]; }
start_app env HOME="$work" "$quorvin"
keys ctrl+w ctrl+o  # the new untitled document closed first: the opened one takes its place
shoot_until script_file_names_open.png open_dialog_shown script_file_names_open.png || fail "no Open dialog"
click_at 350 246
keys Return
named_in_front() { has_document "$1" && [ "$(title_ink "$1")" = "$named_title" ]; }
await_document script_file_names_reopened.png named_in_front
change_and_save 7 script_file_names_unsaved_again.png
quit_app
echo "file names of other scripts: ok"
