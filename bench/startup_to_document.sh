#!/usr/bin/env bash
# Start-up to the first drawn document: starts the program on a small document
# under a private Xvfb display ROUNDS times and prints the milliseconds from the
# start until a screenshot shows the document window with its title, then the
# median and the worst. With several programs their rounds interleave (before
# and after on one load). With --cells N the document holds N numbers, 32 to a
# row, instead of forty rows of text and numbers.
#   startup_to_document.sh [--cells N] ROUNDS QUORVIN [QUORVIN...]
set -u
cells=
if [ "$1" = --cells ]; then
  cells=$2
  shift 2
fi
rounds=$1
shift
out=$(mktemp -d)
source "$(dirname "$0")/../tests/app/xvfb_session.bash"
start_converter_session "$1" 1024x768

# The document, made by the converter beside the first program.
document=$work/startup.qrv
if [ -n "$cells" ]; then
  awk -v cells="$cells" 'BEGIN {
    for (i = 1; i <= cells; i++) printf "%d%s", i * 37 % 100003, (i % 32 == 0 || i == cells) ? "\n" : ","
  }' > "$work/startup.csv"
else
  {
    echo "Item,Amount,Price"
    for ((row = 1; row <= 40; row++)); do echo "Row $row,$row,$((row * 3)).5"; done
  } > "$work/startup.csv"
fi
"$sheetconv" "$work/startup.csv" "$document" || fail "the converter made no document"

# Frames of the screen are taken one after another from the start while a check
# runs on the newest one beside them; once a check finds the document, the
# frames since the last check that did not are searched for the first that shows
# it, so the time is that of a frame (some hundredths of a second), not of a check.
frame_shows_document() {
  convert "$out/frame$1.xwd" "$out/check$1.png" 2>/dev/null && has_document_title "check$1.png"
}
check_in_background() {
  (frame_shows_document "$1" && echo yes > "$out/verdict$1" || echo no > "$out/verdict$1") &
  checker=$!
}
forget_frames_before() {
  local frame
  for ((frame = not_shown + 1; frame < $1; frame++)); do rm -f "$out/frame$frame.xwd"; done
}
first_frame_with_document() {
  local seen=$1 shown=$2 middle
  while ((shown - seen > 1)); do
    middle=$(((seen + shown) / 2))
    if frame_shows_document "$middle"; then shown=$middle; else seen=$middle; fi
  done
  echo "$shown"
}
milliseconds_to_document() {
  local started frame=0 checked=-1 not_shown=-1 shown= first
  local -a taken
  started=$(date +%s%N)
  "$1" "$document" &
  app_pid=$!
  checker=
  while [ -z "$shown" ]; do
    xwd -root -silent > "$out/frame$frame.xwd" 2>/dev/null && taken[frame]=$(date +%s%N) || continue
    if [ -n "$checker" ] && ! kill -0 "$checker" 2>/dev/null; then
      if [ "$(cat "$out/verdict$checked")" = yes ]; then shown=$checked; else forget_frames_before "$checked"; not_shown=$checked; fi
      checker=
    fi
    if [ -z "$checker" ] && [ -z "$shown" ]; then
      checked=$frame
      check_in_background "$frame"
    fi
    ((taken[frame] - started > 60000000000)) && fail "no document drawn by $1"
    frame=$((frame + 1))
  done
  first=$(first_frame_with_document "$not_shown" "$shown")
  kill "$app_pid"
  wait "$app_pid" 2>/dev/null
  app_pid=
  rm -f "$out"/frame*.xwd "$out"/check*.png "$out"/verdict*
  echo $(((taken[first] - started) / 1000000))
}

declare -A times
for ((round = 0; round < rounds; round++)); do
  for program in "$@"; do times[$program]+="$(milliseconds_to_document "$program") "; done
done
source "$(dirname "$0")/timing_summary.bash"
for program in "$@"; do summarize_times "start-up to document" "$program" "${times[$program]}"; done
rm -rf "$out"
