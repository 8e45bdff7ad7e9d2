#!/usr/bin/env bash
# Pastes the program refuses or asks about, from another program's clipboard
# (xclip): text with a character no script here spells asks before it is
# pasted, and Cancel pastes nothing while OK pastes it; a PNG image of
# 12000 x 12000 pixels (a small file) is refused with an alert saying why,
# also with the program's memory limited to 1 GB, and the program goes on
# (screenshots clipboard_refusals_*.png).
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
skip_without xclip python3
start_socket_session "$quorvin" 1024x768

printf 'x\r\n' > "$work/one.csv"
make_document "$work/one.csv" "$work/one.qrv"
start_app bash -c "ulimit -v $((1024 * 1024)); exec '$quorvin' '$work/one.qrv'"
await_document clipboard_refusals_open.png
await_socket

clipboard_is() { [ "$(xclip -selection clipboard -o 2>/dev/null)" = "$1" ]; }
another_program_copies() {
  printf '%s' "$1" | xclip -selection clipboard 2>/dev/null
  wait_for 10 clipboard_is "$1" || fail "xclip did not take the clipboard"
}
# A new document's cells: columns 76 pixels wide from 33, rows 17 high from 58
# below the close box's top.
click_cell() { changes_screen "a click on a cell" click_at $((33 + 76 * $2 + 38)) $((58 + dy + 17 * $1 + 8)); }
# An alert's box shows in the middle of the screen, its face light grey.
alert_shown() { [ "$(pixel "$1" 512 300)" = EEEEEE ]; }
cell_is() { [ "$(send get "value of cell $1 of layer 1 of document 1" 2>/dev/null)" = "$2" ]; }

# The text's emoji has no script here: the paste asks first.
another_program_copies $'kept\t\xf0\x9f\x98\x80'
click_cell 2 0
keys ctrl+v
shoot_until clipboard_refusals_asked.png alert_shown clipboard_refusals_asked.png ||
  fail "no question before pasting text that loses a character"
changes_screen "cancelling the paste" keys Escape
cell_is A3 "" || fail "Cancel did not keep the text out: A3 holds '$(send get "value of cell A3 of layer 1 of document 1")'"
changes_screen "pasting the text again" keys ctrl+v
changes_screen "pasting anyway" keys Return
wait_for 10 cell_is A3 kept || fail "OK did not paste the text"
cell_is B3 "?" || fail "the character no script spells is not a question mark in B3"

# A huge image in a small file (black, a bit a pixel): refused with its
# reason, nothing placed.
python3 - > "$work/huge.png" <<'PNG' || fail "no large image made"
import struct, sys, zlib
side = 12000
def chunk(kind, data):
    return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
row = bytes(1 + side // 8)
packer = zlib.compressobj(9)
pixels = b''.join(packer.compress(row) for _ in range(side)) + packer.flush()
sys.stdout.buffer.write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', side, side, 1, 0, 0, 0, 0)) +
                        chunk(b'IDAT', pixels) + chunk(b'IEND', b''))
PNG
[ "$(stat -c %s "$work/huge.png")" -lt 100000 ] || fail "the large image's file is not small"
another_program_copies_png "$work/huge.png"
click_cell 6 1
shoot clipboard_refusals_before.png
keys ctrl+v
shoot_until clipboard_refusals_refused.png alert_shown clipboard_refusals_refused.png ||
  fail "no alert refused the picture"
changes_screen "closing the alert" keys Return
shoot clipboard_refusals_after.png
# The document window's cells as they were before the paste.
cells() { convert "$out/$1" -crop "560x380+36+$((58 + dy))" +repage rgb:- | md5sum; }
[ "$(cells clipboard_refusals_after.png)" = "$(cells clipboard_refusals_before.png)" ] ||
  fail "the cells changed: part of the refused picture was placed"
await_socket
quit_without_saving
echo "clipboard refusals: ok"
