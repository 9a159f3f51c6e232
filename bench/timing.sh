# Shared by the comparison scripts: times the functions `ours` and `theirs` in
# interleaved runs on a pair already in the page cache and sets ourMedian and
# theirMedian (nanoseconds). Expects first, second and runs to be set.
now() { date +%s%N; }
median() { sort -n | awk '{ v[NR] = $1 } END { printf "%.0f\n", (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

time_interleaved() {
  cat "$first" "$second" > /dev/null  # into the page cache
  ours
  theirs
  local ourTimes=() theirTimes=() t0 t1 t2
  for _ in $(seq "$runs"); do
    t0=$(now); ours; t1=$(now); theirs; t2=$(now)
    ourTimes+=($((t1 - t0)))
    theirTimes+=($((t2 - t1)))
  done
  ourMedian=$(printf '%s\n' "${ourTimes[@]}" | median)
  theirMedian=$(printf '%s\n' "${theirTimes[@]}" | median)
}
