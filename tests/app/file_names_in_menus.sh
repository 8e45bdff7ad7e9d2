#!/usr/bin/env bash
# A document named in Czech and Cyrillic, which no one script spells, with the
# real program under Xvfb: the Window menu and File › Open Recent name it as
# it reads (file_names_in_menus_window.png, file_names_in_menus_recent.png).
# Each menu's ink for "Rozpočet Бюджет.csv" must differ from its ink for a
# document named "Rozpo?et ??????.csv", as it would if letters became marks.
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
start_converter_session "$quorvin" 1024x768

window_item=280x16+475+147   # the Window menu's item of the document
recent_item=300x18+345+66    # the first item of File › Open Recent

# menu_inks NAME SUFFIX: opens a fresh program on a document called NAME and
# reads the ink of its Window menu item and of its Open Recent item (into
# window_ink and recent_ink).
menu_inks() {
  local home="$work/$2"
  mkdir -p "$home"
  printf 'Latin,1\r\n' > "$home/$1"
  start_app env HOME="$home" XDG_CONFIG_HOME="$home/.config" "$quorvin" "$home/$1"
  await_document "file_names_in_menus_$2.png" has_document_title
  click_at 493 9
  window_open() { [ "$(dark_pixels "$1" "$window_item")" -gt 20 ]; }
  shoot_until "file_names_in_menus_window_$2.png" window_open "file_names_in_menus_window_$2.png" ||
    fail "the Window menu did not open"
  window_ink=$(dark_pixels "file_names_in_menus_window_$2.png" "$window_item")
  keys Escape
  click_at 93 9
  xdotool mousemove 130 74
  recent_open() { [ "$(dark_pixels "$1" "$recent_item")" -gt 20 ]; }
  shoot_until "file_names_in_menus_recent_$2.png" recent_open "file_names_in_menus_recent_$2.png" ||
    fail "File › Open Recent did not open"
  recent_ink=$(dark_pixels "file_names_in_menus_recent_$2.png" "$recent_item")
  keys Escape
  quit_without_saving
}

menu_inks "Rozpočet Бюджет.csv" letters
letters_window=$window_ink letters_recent=$recent_ink
menu_inks "Rozpo?et ??????.csv" marks
marks_window=$window_ink marks_recent=$recent_ink
[ "$letters_window" != "$marks_window" ] || fail "the Window menu shows the name with marks ($letters_window)"
[ "$letters_recent" != "$marks_recent" ] || fail "Open Recent shows the name with marks ($letters_recent)"
echo "file names in menus: ok"
