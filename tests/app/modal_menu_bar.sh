#!/usr/bin/env bash
# While a modal dialog is up every menu title but the application menu is
# drawn dimmed on the real screen: the Insert dialog (a standard dialog), the
# Open dialog (a file dialog) and the dialog that follows a folder chosen for
# an export. Screenshot modal_menu_bar.png.
# Arguments: the quorvin binary and the build folder.
source "$(dirname "$0")/app_script.bash"
start_session 1024x768

# Black pixels of the titles after the application menu (File to Window):
# titles drawn in black have many, dimmed grey ones and the highlighted title
# of the command under way (white on the accent colour) none.
black_title_pixels() {
  convert "$out/$1" -crop 440x18+78+1 -fx "(r<0.3&&g<0.3&&b<0.3)?0:1" -format "%[fx:round(w*h*(1-mean))]" info:
}
titles_dimmed() { [ "$(black_title_pixels "$1")" -lt 3 ]; }
titles_shown() { [ "$(black_title_pixels "$1")" -gt 50 ]; }

start_app "$quorvin"
shoot_until document.png has_document document.png || fail "no untitled document"
titles_shown document.png || fail "menu titles dimmed with no dialog up"

xdotool mousemove --window "$window" 150 150 click 1
for keys in ctrl+shift+i ctrl+o; do
  xdotool key --window "$window" "$keys"
  shoot_until modal_menu_bar.png titles_dimmed modal_menu_bar.png || fail "menu titles not dimmed under the dialog of $keys"
  xdotool key --window "$window" Escape
  # The menus come back once the dialog is gone.
  shoot_until after_dialog.png titles_shown after_dialog.png || fail "menu titles still dimmed after the dialog of $keys"
done

# A click on a dimmed title (Window) while a dialog is up leaves the dialog
# usable: Return then answers it.
xdotool key --window "$window" ctrl+shift+i
shoot_until modal_menu_bar.png titles_dimmed modal_menu_bar.png || fail "no dialog for the click on a dimmed title"
xdotool mousemove 492 9 click 1
wait_for 30 screen_still || fail "the screen did not come to rest after a click on a dimmed title"
xdotool key --window "$window" Return
shoot_until after_dialog.png titles_shown after_dialog.png || fail "Return ignored after a click on a dimmed title"

quit_without_saving
echo "modal menu bar: ok"
