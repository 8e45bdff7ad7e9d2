#!/usr/bin/env bash
# Japanese typed through an input method (IBus with its Anthy engine) into the
# real program under Xvfb: "toukyou" composed into A1 is shown in the entry
# line before it is confirmed (input_method_first.png), then converted and
# confirmed as 東京; while the entry is still open "oosaka" is composed inline
# in the entry line, confirmed after it, and the cell keeps both in the
# Japanese script, read back as UTF-8 through the scripting socket
# (screenshots input_method_*.png); Japanese composed after Latin letters
# typed into the same entry is kept beside them. Skipped without IBus and Anthy.
# Arguments: the quorvin binary and the build folder (screenshots go there).
source "$(dirname "$0")/app_script.bash"
require_tools
skip_without ibus-daemon ibus dbus-daemon
[ -e /usr/share/ibus/component/anthy.xml ] || { echo "skipped: the Anthy engine is missing"; exit "$skip_status"; }
require_sender "$quorvin"
start_xvfb 1024x768
use_own_runtime
bus_pid= ibus_pid=
stop_input_method() {
  [ -n "$ibus_pid" ] && kill "$ibus_pid" 2>/dev/null
  [ -n "$bus_pid" ] && kill "$bus_pid" 2>/dev/null
  stop_session
}
trap stop_input_method EXIT
export XDG_CACHE_HOME=$runtime/cache

# A session bus, and settings of this session's own: Anthy starts in hiragana.
exec 4< <(exec dbus-daemon --session --nofork --print-address=1 2>/dev/null)
bus_pid=$!
read -r -t 30 DBUS_SESSION_BUS_ADDRESS <&4 || fail "no session bus"
export DBUS_SESSION_BUS_ADDRESS GSETTINGS_BACKEND=keyfile
mkdir -p "$XDG_CONFIG_HOME/glib-2.0/settings"
printf '[org/freedesktop/ibus/engine/anthy/common]\ninput-mode=0\n' > "$XDG_CONFIG_HOME/glib-2.0/settings/keyfile"
# The engine is a Python program of the system's Python.
PATH=/usr/bin:/bin:$PATH ibus-daemon --cache=refresh --replace --panel=disable >/dev/null 2>&1 &
ibus_pid=$!
# (Setting the engine answers 1 even when it took.)
anthy_engaged() { ibus engine anthy >/dev/null 2>&1; [ "$(ibus engine 2>/dev/null)" = anthy ]; }
wait_for 60 anthy_engaged || fail "the input method did not take the Anthy engine"

export SDL_IM_MODULE=ibus
start_app "$quorvin"
await_socket
xdotool windowfocus --sync "$window"
keys() { xdotool key --delay 120 "$@"; }

entry_box=500x14+142+50
entry_ink() { dark_pixels "$1" "$entry_box"; }
xdotool type --delay 120 "toukyou"
# The first word of a cell not yet edited is shown while it is composed.
confirmed() { [ "$(entry_ink "$1")" -gt 20 ]; }
shoot_until input_method_first.png confirmed input_method_first.png || fail "the first composition is not shown"
changes_screen "the first conversion" keys space
changes_screen "the first confirmation" keys Return  # the first candidate, confirmed
shoot_until input_method_confirmed.png confirmed input_method_confirmed.png || fail "the confirmed text is not shown"
first=$(entry_ink input_method_confirmed.png)
changes_screen "the composition" xdotool type --delay 120 "oosaka"
composing() { [ "$(entry_ink "$1")" -gt "$((first + 20))" ]; }
shoot_until input_method_composing.png composing input_method_composing.png || fail "the composition is not shown inline"
# Converted and confirmed, each drawn before the next key, which then stores
# the entry rather than racing the confirmation.
changes_screen "the conversion" keys space
changes_screen "the confirmation" keys Return
keys Return
stored() { send get "value of cell A1 of document 1" 2>/dev/null | grep -q '^東京.'; }
wait_for 60 stored || fail "A1 holds \"$(send get "value of cell A1 of document 1")\", not 東京 and more"
value=$(send get "value of cell A1 of document 1")
a1_drawn() { [ "$(dark_pixels "$1" 70x14+34+112)" -gt 20 ]; }
shoot_until input_method_stored.png a1_drawn input_method_stored.png || fail "A1 does not show its text"
english() { ibus engine xkb:us::eng >/dev/null 2>&1; [ "$(ibus engine 2>/dev/null)" = xkb:us::eng ]; }

# Latin letters typed into A2 with the keyboard's own layout, then Japanese
# composed after them in the same entry: the cell keeps both as typed.
wait_for 30 english || fail "the input method did not let go of Anthy"
changes_screen "the Latin letters" xdotool type --delay 120 "Tokyo "
wait_for 60 anthy_engaged || fail "the input method did not take the Anthy engine again"
changes_screen "the composition after Latin letters" xdotool type --delay 120 "toukyou"
changes_screen "the conversion after Latin letters" keys space
changes_screen "the confirmation after Latin letters" keys Return
shoot input_method_after_latin.png
keys Return
a2_stored() { [ -n "$(send get "value of cell A2 of document 1" 2>/dev/null)" ]; }
wait_for 60 a2_stored || fail "A2 was not stored"
after_latin=$(send get "value of cell A2 of document 1")
[ "$after_latin" = "Tokyo 東京" ] || fail "A2 holds \"$after_latin\", not \"Tokyo 東京\""

# The keyboard's own layout again, so that the answer to the question on the
# way out is a key, not a composition.
wait_for 30 english || fail "the input method did not let go of Anthy"
quit_without_saving
echo "input method: ok ($value, $after_latin)"
