#!/usr/bin/env bash
# Times `dualvex --summary FILE1 FILE2` against `cmp FILE1 FILE2` on a pair in
# the page cache, with the medians of interleaved runs; the last line is the
# ratio (dualvex / cmp). With --report it times `dualvex --report` against
# `cmp -l | wc -l` instead. It also samples the private (anonymous) memory of
# one dualvex run.
#   bench/report_vs_cmp.sh [--report] FILE1 FILE2
#   DUALVEX=path/to/dualvex (default build/src/dualvex), RUNS=n (default 5)
set -euo pipefail
mode=summary
if [ "${1:-}" = "--report" ]; then
  mode=report
  shift
fi
if [ $# -ne 2 ]; then
  echo "usage: $0 [--report] FILE1 FILE2" >&2
  exit 2
fi
root=$(cd "$(dirname "$0")/.." && pwd)
exe=${DUALVEX:-$root/build/src/dualvex}
runs=${RUNS:-5}
first=$1
second=$2

ours() { "$exe" --$mode "$first" "$second" > /dev/null || [ $? -eq 1 ]; }
theirs() {
  if [ $mode = summary ]; then
    cmp -s "$first" "$second" || [ $? -eq 1 ]
  else
    cmp -l "$first" "$second" | wc -l > /dev/null || true
  fi
}

. "$root/bench/timing.sh"
time_interleaved

# Peak private memory of one run, sampled from /proc while it runs.
"$exe" --$mode "$first" "$second" > /dev/null &
pid=$!
peak=0
while kb=$(awk '/^RssAnon:/ { print $2 }' "/proc/$pid/status" 2> /dev/null); do
  [ -n "$kb" ] && [ "$kb" -gt "$peak" ] && peak=$kb
  sleep 0.002
done
wait "$pid" || true
longer=$(stat -c %s "$first" "$second" | sort -n | tail -1)

theirName=$([ $mode = summary ] && echo "cmp" || echo "cmp -l | wc -l")
awk -v o="$ourMedian" -v t="$theirMedian" -v n="$runs" -v m="$mode" -v c="$theirName" \
    -v peak="$peak" -v longer="$longer" 'BEGIN {
  printf "dualvex --%s: median %.3f s over %d runs\n", m, o / 1e9, n
  printf "%s: median %.3f s over %d runs\n", c, t / 1e9, n
  printf "dualvex private memory peak: %.1f MiB (budget %.1f MiB)\n", peak / 1024, longer / 8 / 1048576 + 64
  printf "%.3f\n", o / t
}'
