# Shared by the start-up benchmarks. summarize_times WHAT PROGRAM TIMES: one
# program's times (milliseconds, space-separated), their median and the worst.
summarize_times() {
  local sorted median
  sorted=$(tr ' ' '\n' <<<"$3" | grep . | sort -n)
  median=$(awk '{ms[NR] = $1} END {print ms[int((NR + 1) / 2)]}' <<<"$sorted")
  echo "$1, $2: $3median $median ms, worst $(tail -1 <<<"$sorted") ms"
}
