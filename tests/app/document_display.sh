#!/usr/bin/env bash
# Opens a saved document with the real program under Xvfb (`quorvin file.qrv`)
# and checks that its cells are shown: the document's title, a yellow fill, red
# negative numbers, and the text of a formula that the idle recalculation
# works out after the document opened (screenshot document_display.png).
# Arguments: the quorvin binary and the build folder (the screenshot goes there).
source "$(dirname "$0")/app_script.bash"
start_session 1024x768
sample="$(cd "$(dirname "$0")" && pwd)/data/display_sample.qrv"

red_pixels() { convert "$out/$1" -crop "$2" -fx "(r>0.7&&g<0.3&&b<0.3)?1:0" -format "%[fx:round(w*h*mean)]" info:; }
# The formula in G2 shows "0" until it is calculated, then a long text.
calculated() { [ "$(dark_pixels "$1" 72x14+455+$((74 + dy)))" -gt 80 ]; }

start_app "$quorvin" "$sample"
await_document document_display.png
shoot_until document_display.png calculated document_display.png || fail "the formula was not calculated and shown"
[ "$(dark_pixels document_display.png 300x14+360+$((24 + dy)))" -gt 40 ] || fail "no document title"
[ "$(pixel document_display.png 262 $((196 + dy)))" = FCF305 ] || fail "no yellow fill in D6"
[ "$(red_pixels document_display.png 70x14+36+$((108 + dy)))" -gt 10 ] || fail "the negative number in A4 is not red"
[ "$(dark_pixels document_display.png 190x14+34+$((57 + dy)))" -gt 150 ] || fail "no text in row 1"
quit_app
echo "document display: ok"
