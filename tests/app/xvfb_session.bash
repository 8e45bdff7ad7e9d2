# Shared by the whole-program scripts: a private Xvfb display, the real program on it,
# screenshots and pixel reads, and a clean quit. Source it; the caller sets `out`.

# Exits 0 with a "skipped" line when a tool the scripts need is missing.
require_tools() {
  local tool
  for tool in Xvfb xdotool import convert; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is missing"; exit 0; }
  done
}

fail() { echo "$1"; exit 1; }

app_pid=
xvfb_pid=
stop_session() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
}

# start_xvfb WIDTHxHEIGHT: a display of its own, so scripts can run side by side.
start_xvfb() {
  exec 3< <(Xvfb -displayfd 1 -screen 0 "$1x24" -nolisten tcp 2>/dev/null)
  xvfb_pid=$!
  trap stop_session EXIT
  local display
  read -r -t 10 display <&3 || fail "Xvfb did not start"
  export DISPLAY=":$display" SDL_VIDEODRIVER=x11
}

# start_app BINARY [ARGS...]: starts the program and waits for its window (in $window).
window=
start_app() {
  "$@" &
  app_pid=$!
  for _ in $(seq 150); do
    window=$(xdotool search --name '^Quorvin$' 2>/dev/null | head -1)
    [ -n "$window" ] && break
    sleep 0.1
  done
  [ -n "$window" ] || fail "no Quorvin window"
  sleep 0.5
}

shoot() { import -window root "$out/$1" || fail "no screenshot"; }
pixel() { convert "$out/$1" -format "%[hex:u.p{$2,$3}]" info: | cut -c1-6; }
# shoot_until FILE CHECK...: takes screenshots until CHECK succeeds (10 s at most), so a
# busy machine gets time to draw; answers CHECK's last result.
shoot_until() {
  local file=$1
  shift
  for _ in $(seq 50); do
    shoot "$file"
    "$@" && return 0
    sleep 0.2
  done
  return 1
}
is_desktop() { case "$(pixel "$1" "$2" "$3")" in 6C7F99|5D6F88) return 0;; *) return 1;; esac; }

# Asks the program to quit as the desktop does and checks that it exits with 0.
quit_app() {
  kill -TERM "$app_pid"
  for _ in $(seq 150); do
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$app_pid" 2>/dev/null && fail "quorvin did not quit"
  wait "$app_pid"
  local status=$?
  app_pid=
  [ "$status" -eq 0 ] || fail "quorvin exited with $status"
}
