#!/usr/bin/env bash
# Key to screen: types numbers (digits, then Return) into a document, each key
# held 20 ms, and prints for each program the median and the 90th percentile of
# the milliseconds from a key's press to the next change of the screen, as the
# X server reports it. Each program runs on a private Xvfb display of its own
# from the start; their rounds of NUMBERS numbers interleave (before and after
# on one load).
#   key_to_screen.sh ROUNDS NUMBERS QUORVIN [QUORVIN...]
set -u
rounds=$1
numbers=$2
shift 2
source "$(dirname "$0")/../tests/app/xvfb_session.bash"
require_tools
# The probe and the converter of the first program's build that has the probe.
probe=
for program in "$@"; do
  built=$(dirname "$program")
  [ -x "$built/bench/key_to_screen_probe" ] && { probe=$built/bench/key_to_screen_probe; break; }
done
[ -n "$probe" ] || { echo "skipped: no key_to_screen_probe built beside the programs"; exit "$skip_status"; }
sheetconv=$built/tools/sheetconv
work=$(mktemp -d)
hold_ms=20

echo "Amount" > "$work/typing.csv"
"$sheetconv" "$work/typing.csv" "$work/typing.qrv" || fail "the converter made no document"

# One display, configuration folder and program for each program named.
declare -a displays xvfbs pids configs
stop_programs() {
  local i
  # The typed documents are thrown away unsaved: no question about them.
  for i in "${!pids[@]}"; do kill -KILL "${pids[i]}" 2>/dev/null && wait "${pids[i]}" 2>/dev/null; done
  for i in "${!xvfbs[@]}"; do kill "${xvfbs[i]}" 2>/dev/null; rm -rf "${configs[i]}"; done
  rm -rf "$work"
}
trap stop_programs EXIT
start_program() {
  local i=$1 program=$2 display
  exec {fd}< <(Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp 2>/dev/null)
  xvfbs[i]=$!
  read -r -t 30 display <&"$fd" || fail "Xvfb did not start"
  displays[i]=":$display"
  configs[i]=$(mktemp -d)
  DISPLAY=${displays[i]} wait_for 30 display_answers || fail "display :$display does not answer"
  DISPLAY=${displays[i]} XDG_CONFIG_HOME=${configs[i]} "$program" "$work/typing.qrv" &
  pids[i]=$!
  DISPLAY=${displays[i]} wait_for 60 find_window || fail "no window of $program"
  DISPLAY=${displays[i]} xdotool windowmove "$window" 0 0 windowfocus --sync "$window"
  DISPLAY=${displays[i]} wait_for 60 screen_still || fail "$program does not come to rest"
}

# The keys of `count` numbers from `first` on: varied lengths, each ended by Return.
number_keys() {
  local n keys=
  for ((n = $1; n < $1 + $2; n++)); do keys+="$(((n * 7919) % 100000 / (1 + n % 97)))R"; done
  echo "$keys"
}

percentile() {  # percentile P: of the numbers on standard input
  sort -n | awk -v p="$1" '{v[NR] = $1} END {i = int(NR * p / 100 + 0.5); if (i < 1) i = 1; printf "%.2f", v[i] / 1000}'
}

i=0
for program in "$@"; do start_program "$i" "$program"; i=$((i + 1)); done
declare -a samples
for ((round = 0; round < rounds; round++)); do
  keys=$(number_keys $((round * numbers)) "$numbers")
  for i in "${!pids[@]}"; do
    samples[i]+="$(DISPLAY=${displays[i]} "$probe" "$keys" "$hold_ms") " || fail "the probe failed"
  done
done
i=0
for program in "$@"; do
  values=$(tr ' ' '\n' <<<"${samples[i]}" | grep .)
  echo "key to screen, $program: $(wc -l <<<"$values") keys, median $(percentile 50 <<<"$values") ms," \
    "p90 $(percentile 90 <<<"$values") ms"
  i=$((i + 1))
done
