#!/usr/bin/env bash
# A drawn oval copied to another program (xclip) in the real program under
# Xvfb: the oval lies inside its cell, away from the cell's top left, and the
# PNG image xclip reads is the oval's own size, with no blank margin where the
# cell begins (object_picture_copy_*.png; the image read is
# object_picture_copy_oval.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
source "$(dirname "$0")/drawing_tools.bash"
skip_without xclip
start_empty_document object_picture_copy_open.png

# The oval dragged out 130 by 60 pixels from a point well inside column D.
open_tool_palette
draw_with "${oval_tool[@]}" 356 $((153 + dy)) 486 $((213 + dy))
shoot object_picture_copy_drawn.png
keys ctrl+c

await_copied_png "$work/oval.png" oval
cp "$work/oval.png" "$out/object_picture_copy_oval.png"
size=$(identify -format %wx%h "$work/oval.png")
[ "$size" = 130x60 ] || fail "the copied oval's image is $size, not the oval's 130x60"
# The oval touches all four sides of its image.
for side in 1x60+0+0 1x60+129+0 130x1+0+0 130x1+0+59; do
  [ "$(convert "$work/oval.png" -crop "$side" +repage -threshold 50% -format "%[fx:round(w*h*(1-mean))]" info:)" -gt 0 ] ||
    fail "the oval does not reach the image's edge at $side"
done
quit_without_saving
echo "object picture copy: ok"
