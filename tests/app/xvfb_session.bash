# Shared by the whole-program scripts: a private Xvfb display and configuration
# folder, the real program on it, screenshots and pixel reads, and a clean quit.
# Source it; the caller sets `out`. Every wait is on something the script can
# observe, with limits generous enough for a loaded machine.

# CTest counts this exit status as "skipped".
skip_status=77

# skip_without TOOL...: exits with skip_status and a "skipped" line when one of
# the tools is missing.
skip_without() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is missing"; exit "$skip_status"; }
  done
}

# The tools every script needs.
require_tools() { skip_without Xvfb xdpyinfo xdotool import convert xwd; }

fail() { echo "$1"; exit 1; }

# wait_for SECONDS CHECK...: runs CHECK until it succeeds or SECONDS have passed;
# answers CHECK's last result.
wait_for() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -ge "$deadline" ] && return 1
    sleep 0.1
  done
}

app_pid=
xvfb_pid=
config=
work=
runtime=
stop_session() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  [ -n "$config" ] && rm -rf "$config"
  [ -n "$work" ] && rm -rf "$work"
  [ -n "$runtime" ] && rm -rf "$runtime"
}

# start_xvfb WIDTHxHEIGHT: a display of its own, so scripts can run side by side,
# and a configuration folder of its own, so that no test touches the user's.
start_xvfb() {
  config=$(mktemp -d)
  export XDG_CONFIG_HOME=$config
  trap stop_session EXIT
  # Servers starting side by side can race for a display number: a server that
  # gives up names none, and another is started.
  local display= attempt
  for attempt in 1 2 3; do
    exec 3< <(Xvfb -displayfd 1 -screen 0 "$1x24" -nolisten tcp 2>/dev/null)
    xvfb_pid=$!
    read -r -t 30 display <&3 && break
    kill "$xvfb_pid" 2>/dev/null
    display=
  done
  [ -n "$display" ] || fail "Xvfb did not start"
  export DISPLAY=":$display" SDL_VIDEODRIVER=x11
  wait_for 30 display_answers || fail "display :$display does not answer"
}

# Whether the display takes a client: Xvfb names its display before it does.
display_answers() { xdpyinfo >/dev/null 2>&1; }

# start_session WIDTHxHEIGHT: the tools checked, then a display of that size.
start_session() {
  require_tools
  start_xvfb "$1"
}

# start_converter_session QUORVIN WIDTHxHEIGHT: a session for scripts that make
# or read files with the converter built beside the program ($sheetconv), with a
# folder for those files ($work) that goes with the session.
start_converter_session() {
  require_tools
  sheetconv="$(dirname "$1")/tools/sheetconv"
  [ -x "$sheetconv" ] || { echo "skipped: no converter at $sheetconv"; exit "$skip_status"; }
  start_xvfb "$2"
  work=$(mktemp -d)
}

# require_sender QUORVIN: the sender built beside the program ($qvsend), which
# talks to it through its event socket; skipped without it.
require_sender() {
  qvsend="$(dirname "$1")/tools/qvsend"
  [ -x "$qvsend" ] || { echo "skipped: no sender at $qvsend"; exit "$skip_status"; }
}

# use_own_runtime: a runtime folder of the session's own ($runtime, gone with
# the session), where the program opens its event socket ($socket).
socket=
use_own_runtime() {
  runtime=$(mktemp -d)
  export XDG_RUNTIME_DIR=$runtime
  socket=$runtime/quorvin/events
}
# start_socket_session QUORVIN WIDTHxHEIGHT: a converter session whose program
# is reached through its event socket.
start_socket_session() {
  require_sender "$1"
  start_converter_session "$1" "$2"
  use_own_runtime
}
# start_sender_session QUORVIN WIDTHxHEIGHT: the same without the converter.
start_sender_session() {
  require_sender "$1"
  start_session "$2"
  use_own_runtime
}
# send WORDS...: one request through the event socket; prints the reply.
send() { "$qvsend" --socket "$socket" --timeout 20 "$@"; }
# documents_open COUNT: the socket answers and COUNT documents are open.
documents_open() { [ -S "$socket" ] && [ "$(send count documents 2>/dev/null)" = "$1" ]; }
# Waits until the program answers on its socket with its one document open.
await_socket() { wait_for 60 documents_open 1 || fail "no document reachable through $socket"; }

# make_document CSV DOCUMENT: the converter makes the document of the CSV file,
# and notes its size ($saved_size) for await_saved.
saved_size=
make_document() {
  "$sheetconv" "$1" "$2" || fail "no document from the converter"
  saved_size=$(stat -c %s "$2")
}
# read_saved_rows --values|--shown DOCUMENT: the document as the converter
# reads it (values as CSV, shown texts tab-separated), a line a row without its
# trailing empty cells, in $saved_rows.
saved_rows=
read_saved_rows() {
  local text="$work/saved_rows.csv" trailing=,
  [ "$1" = --shown ] && { text="$work/saved_rows.txt"; trailing='\t'; }
  "$sheetconv" "$1" "$2" "$text" || fail "the converter cannot read the saved document"
  saved_rows=$(tr -d '\r' < "$text" | sed "s/$trailing*\$//")
}
# await_saved DOCUMENT: waits until the document's size is no longer the one
# noted: a save has written it.
size_changed() { [ "$(stat -c %s "$1")" != "$saved_size" ]; }
await_saved() { wait_for 60 size_changed "$1" || fail "Ctrl-S did not save the document"; }

shoot() { import -window root "$out/$1" || fail "no screenshot"; }

# The screen as a checksum of its pixels.
screen_sum() { xwd -root -silent | md5sum | cut -c1-32; }
# mark_screen: remembers the screen as it is now, before some input.
marked_screen=
mark_screen() { marked_screen=$(screen_sum); }
screen_moved() { [ "$(screen_sum)" != "$marked_screen" ]; }
# Two looks a moment apart see the same screen (a blinking caret only delays it).
screen_still() {
  local first
  first=$(screen_sum)
  sleep 0.15
  [ "$(screen_sum)" = "$first" ]
}
# await_change WHAT: waits until the screen differs from the one mark_screen
# saw and has come to rest: the program has taken the input and drawn its answer.
await_change() {
  wait_for 30 screen_moved || fail "the screen did not change after $1"
  wait_for 30 screen_still || fail "the screen did not come to rest after $1"
}
# changes_screen WHAT COMMAND...: runs COMMAND (input to the program), then
# waits for its answer on the screen.
changes_screen() {
  local what=$1
  shift
  mark_screen
  "$@"
  await_change "$what"
}
# bind_letters TEXT: each letter of TEXT beyond ASCII bound to a free key
# until the next call, which binds its letters to the same keys. Left to
# xdotool, a key is bound only while it is pressed, and a program that reads
# the keyboard map late finds the key unbound.
free_keys=
bind_letters() {
  skip_without xmodmap
  [ -n "$free_keys" ] || free_keys=$(xmodmap -pke | awk '$3 == "=" && NF == 3 {print $2}')
  local free=($free_keys) letter
  local i=0
  while IFS= read -r letter; do
    [ "$i" -lt "${#free[@]}" ] || fail "too few free keys for the letters of \"$1\""
    xmodmap -e "keycode ${free[i]} = $(printf 'U%04X' "'$letter")" || fail "no key bound to $letter"
    i=$((i + 1))
  done < <(printf '%s' "$1" | grep -oP '[^\x00-\x7F]' | sort -u)
}
# glide X1 Y1 X2 Y2: the mouse moves in small steps, as a hand does.
glide() {
  local step
  for step in 1 2 3 4 5 6; do
    xdotool mousemove $(($1 + ($3 - $1) * step / 6)) $(($2 + ($4 - $2) * step / 6))
    sleep 0.05
  done
}
# another_program_copies_png FILE: xclip holds a PNG image on the clipboard
# until another program takes it.
clipboard_offers_png() { xclip -selection clipboard -t TARGETS -o 2>/dev/null | grep -q image/png; }
another_program_copies_png() {
  xclip -selection clipboard -t image/png -i "$1"
  wait_for 10 clipboard_offers_png || fail "xclip did not take the clipboard"
}
# await_copied_png FILE WHAT: waits until the clipboard gives a PNG image (the
# copied WHAT), read into FILE.
clipboard_png_into() {
  xclip -selection clipboard -t image/png -o > "$1" 2>/dev/null &&
    [ "$(identify -format %m "$1" 2>/dev/null)" = PNG ]
}
await_copied_png() { wait_for 30 clipboard_png_into "$1" || fail "xclip read no PNG image of the copied $2"; }
# tile_horizontally: Window (title at x 490), Arrange (item at y 125), its
# submenu, Tile Horizontally, chosen with the mouse.
tile_horizontally() {
  changes_screen "opening the Window menu" xdotool mousemove 490 9 click 1
  changes_screen "reaching Arrange" glide 490 20 520 125
  changes_screen "entering Arrange's submenu" glide 520 125 730 125
  changes_screen "reaching Tile Horizontally" glide 730 125 730 167
  xdotool click 1
}
# keys KEY... and typed TEXT: keys pressed and text typed into the program's
# window, paced as a hand types them, key_delay milliseconds apart.
key_delay=40
keys() { xdotool key --window "$window" --delay "$key_delay" "$@"; }
typed() { xdotool type --window "$window" --delay "$key_delay" "$1"; }
# Longer than the program's double-click time (30 ticks): two presses this far
# apart are two single presses.
past_double_click_time() { sleep 0.6; }
# click_at X Y: the mouse brought to a point and pressed there, as a hand does.
click_at() {
  xdotool mousemove "$1" "$2"
  sleep 0.2
  xdotool click 1
}
# submenu_choice TITLE_X ITEM_X SUBMENU_X ITEM_Y SUBITEM_Y: the menu whose title
# is at TITLE_X, its item at ITEM_Y, then the item of its submenu at SUBITEM_Y,
# chosen by dragging from the menu title.
submenu_choice() {
  changes_screen "pressing a menu title" xdotool mousemove "$1" 9 mousedown 1
  changes_screen "reaching a menu item" glide "$1" 9 "$2" "$4"
  changes_screen "entering a submenu" glide "$2" "$4" "$3" "$4"
  # The submenu's item level with its parent's is lit as the pointer enters.
  if [ "$5" -eq "$4" ]; then
    glide "$3" "$4" $(($3 + 10)) "$5"
  else
    changes_screen "reaching a submenu item" glide "$3" "$4" $(($3 + 10)) "$5"
  fi
  changes_screen "releasing over a menu item" xdotool mouseup 1
}
# format_choice ITEM_Y SUBITEM_Y: the Format menu's item at ITEM_Y, then the
# item of its submenu at SUBITEM_Y.
format_choice() { submenu_choice 185 200 330 "$1" "$2"; }
pixel() { convert "$out/$1" -format "%[hex:u.p{$2,$3}]" info: | cut -c1-6; }
# shoot_until FILE CHECK...: takes screenshots until CHECK succeeds (60 s at most), so a
# busy machine gets time to draw; answers CHECK's last result.
shoot_until() {
  local file=$1
  shift
  shoot_and_check() { shoot "$file" && "$@"; }
  wait_for 60 shoot_and_check "$@"
}
# How many rows lower the front document window lies than with nothing above
# it (its close box's first red row is row 26 then): the command bar's height.
# Prints nothing while no document window shows.
document_drop() {
  local red
  red=$(convert "$out/$1" -crop 1x400+15+18 -fx "(r>0.7&&g<0.5&&b<0.5)?1:0" txt:- |
    awk -F'[,:]' '/#FFFFFF|white/ {print $2 + 18; exit}')
  [ -n "$red" ] && echo $((red - 26))
}
has_document() { [ -n "$(document_drop "$1")" ]; }
# await_document FILE [CHECK]: takes screenshots (FILE) until a document window
# shows (or CHECK FILE holds, has_document_title for one), then sets $dy to how
# much lower it lies than with nothing above it.
dy=
await_document() {
  shoot_until "$1" "${2:-has_document}" "$1" || fail "no document window"
  dy=$(document_drop "$1")
}
# dark_pixels FILE GEOMETRY: how many pixels of the crop are darker than mid grey.
dark_pixels() { convert "$out/$1" -crop "$2" -threshold 50% -format "%[fx:round(w*h*(1-mean))]" info:; }
# colour_pixels FILE RGB GEOMETRY: how many pixels of the crop have that colour
# (marked with a colour of their own first, so that black and white count too).
colour_pixels() {
  convert "$out/$1" -crop "$3" +repage -fill "#010203" -opaque "#$2" -fill black +opaque "#010203" \
    -fill white -opaque "#010203" -format "%[fx:round(w*h*mean)]" info:
}
# Whether a document window shows with a title in its title bar.
has_document_title() { has_document "$1" && [ "$(dark_pixels "$1" 200x14+200+$((24 + $(document_drop "$1"))))" -gt 10 ]; }
is_desktop() { case "$(pixel "$1" "$2" "$3")" in 6C7F99|5D6F88) return 0;; *) return 1;; esac; }
menu_bar_drawn() { [ "$(pixel "$1" 300 5)" = FFFFFF ]; }

# The preferences file of the session's configuration folder, and its first
# options long (big-endian), which holds the palettes' start-up bits among
# other switches: read_options prints it, write_options VALUE writes it.
prefs_file() { printf '%s' "$config/Quorvin/Quorvin Preferences"; }
options_offset=94
read_options() { od -A n -t u1 -j "$options_offset" -N 4 "$(prefs_file)" | awk '{print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4}'; }
write_options() {
  local value=$1 bytes="" shift_by
  for shift_by in 24 16 8 0; do bytes+=$(printf '\\x%02x' $(((value >> shift_by) & 0xFF))); done
  printf "$bytes" | dd of="$(prefs_file)" bs=1 seek="$options_offset" conv=notrunc status=none
}

# start_app BINARY [ARGS...]: starts the program and waits for its window (in
# $window) and for its menu bar to be drawn.
window=
find_window() { window=$(xdotool search --name '^Quorvin$' 2>/dev/null | head -1); [ -n "$window" ]; }
start_app() {
  "$@" &
  app_pid=$!
  wait_for 60 find_window || fail "no Quorvin window"
  xdotool windowmove "$window" 0 0
  local first_look
  first_look="$(basename "$0" .sh)_started.png"
  shoot_until "$first_look" menu_bar_drawn "$first_look" || fail "no menu bar drawn"
}

# start_socket_app SCREENSHOT [ARGS...]: starts the program (on ARGS), waits
# until it answers on its socket, then for its document window (SCREENSHOT).
start_socket_app() {
  local shot=$1
  shift
  start_app "$quorvin" "$@"
  await_socket
  await_document "$shot"
}

app_ended() { ! kill -0 "$app_pid" 2>/dev/null; }

# Waits for the program to end by itself; answers its exit status.
wait_for_exit() {
  wait_for 60 app_ended || fail "quorvin did not quit ($1)"
  wait "$app_pid"
  local status=$?
  app_pid=
  return "$status"
}

# Asks the program to quit as the desktop does, answers Don't Save ("d") each
# time it is found still running, and checks that it exits with 0.
answered_and_ended() {
  app_ended && return 0
  xdotool key --window "$window" d 2>/dev/null
  return 1
}
quit_without_saving() {
  kill -TERM "$app_pid"
  wait_for 60 answered_and_ended || fail "quorvin did not quit after Don't Save"
  wait "$app_pid" || fail "quorvin exited with $?"
  app_pid=
}

# Asks the program to quit as the desktop does and checks that it exits with 0.
quit_app() {
  kill -TERM "$app_pid"
  wait_for_exit "asked to quit"
  local status=$?
  [ "$status" -eq 0 ] || fail "quorvin exited with $status"
}
