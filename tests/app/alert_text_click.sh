#!/usr/bin/env bash
# Alerts are answered by their buttons and keys alone, with the real program
# under Xvfb: a click on the words of Revert to Saved's question, and of Move
# Cells' question about replacing cells, leaves the question up; Escape then
# cancels and the document stays as it was (screenshots alert_text_click_*.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
start_socket_session "$quorvin" 1024x768

printf 'first\r\n' > "$work/r.csv"
make_document "$work/r.csv" "$work/r.qrv"
start_socket_app alert_text_click_open.png "$work/r.qrv"
send set "value of cell A2 of document 1" second >/dev/null || fail "A2 not set"
send set "value of cell B1 of document 1" dest >/dev/null || fail "B1 not set"

# Both questions are caution alerts in the middle of the screen, their words
# at the top, the buttons at the bottom right.
asked() { [ "$(pixel "$1" 512 300)" = EEEEEE ]; }
not_asked() { ! asked "$1"; }
words_x=500 words_y=256
cell_is() { [ "$(send get "value of cell $1 of document 1")" = "$2" ]; }

# menu_item TITLE_X ITEM_Y: a click opens the menu, a second chooses the item.
menu_item() {
  changes_screen "opening a menu" click_at "$1" 9
  glide "$1" 20 "$1" "$2"
  click_at "$1" "$2"
}

# answer_by_the_words NAME: the question is up; a click on its words leaves it
# up, and Escape takes it down.
answer_by_the_words() {
  shoot_until "alert_text_click_$1_asked.png" asked "alert_text_click_$1_asked.png" || fail "$1 asked nothing"
  click_at "$words_x" "$words_y"
  wait_for 30 screen_still || fail "the screen did not come to rest after the click on the words"
  shoot "alert_text_click_$1_words.png"
  asked "alert_text_click_$1_words.png" || fail "a click on the words of the $1 question answered it"
  keys Escape
  shoot_until "alert_text_click_$1_cancelled.png" not_asked "alert_text_click_$1_cancelled.png" ||
    fail "Escape left the $1 question up"
}

menu_item 93 167  # File > Revert to Saved
answer_by_the_words revert
cell_is A2 second || fail "the document was reverted: A2 is no longer \"second\""

send select "range A1:A1" >/dev/null || fail "A1 not selected"
menu_item 133 353  # Edit > Move Cells...
moving() { [ "$(pixel "$1" 400 445)" = EEEEEE ]; }
shoot_until alert_text_click_move.png moving alert_text_click_move.png || fail "Move Cells showed no dialog"
typed B1
keys Return
answer_by_the_words move
cell_is B1 dest || fail "the cells were moved: B1 is no longer \"dest\""
cell_is A1 first || fail "the cells were moved: A1 is no longer \"first\""

quit_without_saving
echo "alert text click: ok"
