#!/usr/bin/env bash
# A display that answers only after the program has started (a display server
# still coming up on a busy machine) is waited for: the program opens its
# window once the display takes clients instead of giving up at once.
# Arguments: the quorvin binary and the build folder.
source "$(dirname "$0")/app_script.bash"
require_tools

# A display number nobody holds.
number=
for n in $(seq 140 199); do
  [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || { number=$n; break; }
done
[ -n "$number" ] || { echo "skipped: no free display number"; exit "$skip_status"; }

config=$(mktemp -d)
trap stop_session EXIT
export XDG_CONFIG_HOME=$config DISPLAY=":$number" SDL_VIDEODRIVER=x11
"$quorvin" &
app_pid=$!
sleep 1  # the display comes up a second after the program: part of the case, not a wait
app_ended && fail "quorvin gave up before the display started"
Xvfb "$DISPLAY" -screen 0 1280x900x24 -nolisten tcp 2>/dev/null &
xvfb_pid=$!
wait_for 30 display_answers || fail "display $DISPLAY does not answer"
wait_for 60 find_window || fail "no Quorvin window on the late display"
quit_app
echo "late display: ok"
