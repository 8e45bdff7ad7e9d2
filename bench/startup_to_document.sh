#!/usr/bin/env bash
# Start-up to the first drawn document: starts the program on a small document
# under a private Xvfb display ROUNDS times and prints the milliseconds from the
# start until a screenshot shows the document window with its title, then the
# median. With several programs their rounds interleave (before and after on one
# load). A check takes about a tenth of a second: read the medians.
#   startup_to_document.sh ROUNDS QUORVIN [QUORVIN...]
set -u
rounds=$1
shift
out=$(mktemp -d)
source "$(dirname "$0")/../tests/app/xvfb_session.bash"
start_converter_session "$1" 1024x768

# Forty rows of text and numbers, made by the converter beside the first program.
document=$work/startup.qrv
{
  echo "Item,Amount,Price"
  for ((row = 1; row <= 40; row++)); do echo "Row $row,$row,$((row * 3)).5"; done
} > "$work/startup.csv"
"$sheetconv" "$work/startup.csv" "$document" || fail "the converter made no document"

document_drawn() { shoot s.png 2>/dev/null && has_document_title s.png; }
milliseconds_to_document() {
  local started finished
  started=$(date +%s%N)
  "$1" "$document" &
  app_pid=$!
  until document_drawn; do
    (($(date +%s%N) - started > 60000000000)) && fail "no document drawn by $1"
  done
  finished=$(date +%s%N)
  kill "$app_pid"
  wait "$app_pid" 2>/dev/null
  app_pid=
  echo $(((finished - started) / 1000000))
}

declare -A times
for ((round = 0; round < rounds; round++)); do
  for program in "$@"; do times[$program]+="$(milliseconds_to_document "$program") "; done
done
for program in "$@"; do
  median=$(tr ' ' '\n' <<<"${times[$program]}" | grep . | sort -n | awk '{ms[NR] = $1} END {print ms[int((NR + 1) / 2)]}')
  echo "start-up to document, $program: ${times[$program]}median $median ms"
done
rm -rf "$out"
