#!/usr/bin/env bash
# Large documents opened with the program's address space limited: for each
# limit and each file, the program started under `ulimit -v` with the file
# must, within 20 seconds, show the document (its event socket counts one) or
# the alert that memory is short; after that alert it is still in use (Return
# closes the alert and the socket answers that no document is open). Prints a
# line for each run; exits with 1 when one of them failed (the screenshots
# memory_limits_*.png show the failures) and 77 when a tool is missing.
# Usage: memory_limits.bash QUORVIN OUT MEGABYTES... -- FILE...
set -uo pipefail
quorvin=$1
out=$2
shift 2
limits=()
while [ $# -gt 0 ] && [ "$1" != -- ]; do limits+=("$1"); shift; done
shift
files=("$@")
source "$(dirname "$0")/xvfb_session.bash"
require_sender "$quorvin"
start_session 1024x768
use_own_runtime

# The stop alert's box shows in the middle of the screen, its face light grey.
alert_shown() { shoot "$1" && [ "$(pixel "$1" 512 300)" = EEEEEE ]; }
# The program's window, once it has one; it may not while memory is short.
look_for_window() { window=$(xdotool search --name '^Quorvin$' 2>/dev/null | head -1); }
outcome=
opened_or_alerted() {
  app_ended && { outcome=ended; return 0; }
  documents_open 1 && { outcome=opened; return 0; }
  alert_shown "$1" && { outcome=alerted; return 0; }
  return 1
}
failures=0
# open_limited MEGABYTES FILE: one run, its outcome printed.
open_limited() {
  local megabytes=$1 file=$2 shot started
  shot="memory_limits_$(basename "$file")_$megabytes.png"
  rm -f "$socket"
  started=$SECONDS
  bash -c "ulimit -v $((megabytes * 1024)); exec '$quorvin' '$file'" &
  app_pid=$!
  outcome=
  wait_for 20 opened_or_alerted "$shot"
  local took=$((SECONDS - started))
  case "$outcome" in
    opened) echo "$megabytes MB $(basename "$file"): opened in ${took}s" ;;
    alerted)
      look_for_window && xdotool key --window "$window" Return
      if wait_for 20 documents_open 0; then
        echo "$megabytes MB $(basename "$file"): memory alert in ${took}s, then usable"
      else
        echo "$megabytes MB $(basename "$file"): memory alert in ${took}s, then no answer"
        failures=$((failures + 1))
      fi
      ;;
    ended)
      wait "$app_pid"
      echo "$megabytes MB $(basename "$file"): ended with status $? after ${took}s"
      app_pid=
      failures=$((failures + 1))
      return
      ;;
    *)
      shoot "$shot"
      echo "$megabytes MB $(basename "$file"): neither document nor alert after ${took}s"
      failures=$((failures + 1))
      ;;
  esac
  kill -KILL "$app_pid" 2>/dev/null
  wait "$app_pid" 2>/dev/null
  app_pid=
}

for megabytes in "${limits[@]}"; do
  for file in "${files[@]}"; do open_limited "$megabytes" "$file"; done
done
[ "$failures" -eq 0 ]
