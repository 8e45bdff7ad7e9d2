#!/usr/bin/env bash
# Without a display the program says so and exits with 1 at once, instead of
# running unseen.
# Arguments: the quorvin binary and the build folder.
set -uo pipefail
quorvin=$1
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
errors=$(env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER XDG_CONFIG_HOME="$config" \
  timeout 60 "$quorvin" 2>&1 >/dev/null)
status=$?
[ "$status" -eq 1 ] || { echo "exit status $status, not 1"; exit 1; }
grep -q "cannot open a display" <<<"$errors" || { echo "no message: $errors"; exit 1; }
