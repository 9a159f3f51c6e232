#!/usr/bin/env bash
# Times `dualvex --screenshot` (start, load, compare, first paint, PNG) against
# `cmp` on the same pair in the page cache, with medians of interleaved runs; the
# last line is the ratio (dualvex / cmp). Also prints the process (CPU) time of one
# screenshot run, which is the start-to-first-paint figure for small files.
#   bench/screenshot_vs_cmp.sh FILE1 FILE2
#   DUALVEX=path/to/dualvex (default build/src/dualvex), RUNS=n (default 5)
set -euo pipefail
if [ $# -ne 2 ]; then
  echo "usage: $0 FILE1 FILE2" >&2
  exit 2
fi
root=$(cd "$(dirname "$0")/.." && pwd)
exe=${DUALVEX:-$root/build/src/dualvex}
runs=${RUNS:-5}
first=$1
second=$2
shot=$(mktemp --suffix=.png)
config=$(mktemp -d)
trap 'rm -rf "$shot" "$config"' EXIT
export DUALVEX_CONFIG_DIR=$config QT_QPA_PLATFORM=offscreen

ours() { "$exe" --screenshot="$shot" --size=1200x800 "$first" "$second" > /dev/null 2>&1; }
theirs() { cmp -s "$first" "$second" || [ $? -eq 1 ]; }

. "$root/bench/timing.sh"
time_interleaved
/usr/bin/time -o "$config/time" -f '%U %S' "$exe" --screenshot="$shot" --size=1200x800 "$first" "$second" > /dev/null 2>&1 || true
cpu=$(tail -1 "$config/time" | awk '{ printf "%.3f", $1 + $2 }')

printf 'dualvex --screenshot: %.3f s (median of %d)\n' "$(echo "$ourMedian / 1000000000" | bc -l)" "$runs"
printf 'cmp:                  %.3f s (median of %d)\n' "$(echo "$theirMedian / 1000000000" | bc -l)" "$runs"
printf 'process time of one screenshot run: %s s\n' "$cpu"
echo "ratio: $(echo "scale=3; $ourMedian / $theirMedian" | bc -l)"
