#!/usr/bin/env bash
# Help tags in the real program under Xvfb: the pointer resting on the command
# bar's New button brings its tag up below it (help_tags_button.png); moving
# on takes it away (help_tags_gone.png).
# Arguments: the quorvin binary and the build folder (the screenshots go there).
source "$(dirname "$0")/app_script.bash"
start_session 1024x768

# Pixels of the tags' pale yellow in a crop of a screenshot.
tag_pixels() {
  convert "$out/$1" -crop "$2" -fill black +opaque "#FFFFCC" -fill white -opaque "#FFFFCC" \
    -format "%[fx:round(w*h*mean)]" info:
}
tag_shown() { [ "$(tag_pixels "$1" 300x40+30+45)" -gt 100 ]; }
tag_gone() { ! tag_shown "$1"; }

start_app "$quorvin"
shoot_until help_tags_start.png has_document help_tags_start.png || fail "no document window"
xdotool mousemove 40 33
sleep 0.2
xdotool mousemove 44 33
shoot_until help_tags_button.png tag_shown help_tags_button.png || fail "no tag under the New button"
xdotool mousemove 300 300
shoot_until help_tags_gone.png tag_gone help_tags_gone.png || fail "the tag stayed when the pointer moved"

quit_without_saving
echo "help tags: ok"
