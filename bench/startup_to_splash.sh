#!/usr/bin/env bash
# Start-up to the first frame (the splash): starts the program with no document
# under a private Xvfb display ROUNDS times and prints the milliseconds from the
# start until the centre of the screen first shows something, then the median
# and the worst. With several programs their rounds interleave (before and
# after on one load).
#   startup_to_splash.sh ROUNDS QUORVIN [QUORVIN...]
set -u
rounds=$1
shift
source "$(dirname "$0")/../tests/app/xvfb_session.bash"
probe=
for program in "$@"; do
  [ -x "$(dirname "$program")/bench/first_frame_probe" ] && { probe=$(dirname "$program")/bench/first_frame_probe; break; }
done
[ -n "$probe" ] || { echo "skipped: no first_frame_probe built beside the programs"; exit "$skip_status"; }
start_session 1024x768

declare -A times
for ((round = 0; round < rounds; round++)); do
  for program in "$@"; do
    rm -rf "$config"/*
    times[$program]+="$("$probe" "$program") " || fail "no frame from $program"
  done
done
source "$(dirname "$0")/timing_summary.bash"
for program in "$@"; do summarize_times "start-up to splash" "$program" "${times[$program]}"; done
