#!/usr/bin/env bash
# Measures the streamed text modes on the pairs they are meant for, with the
# medians of interleaved runs (bench/timing.sh):
#   1. an equal cached 1 GiB pair: --summary and --report against `cmp`;
#   2. 1 GiB with 4,194,304 one-byte differences: --report against the --report
#      of an earlier build ($BASELINE), whose output must be byte-identical;
#   3. a 16 GiB sparse pair (holes, a few written differences): --report must
#      find exactly those ranges; time, MB/s and peak private memory.
# The files go to FOLDER (default /tmp/dualvex-stream-bench) and are deleted at
# the end; 3 GiB of real data are written.
#   bench/report_streaming.sh [FOLDER]
#   DUALVEX=path/to/dualvex (default build/src/dualvex), BASELINE=earlier dualvex
#   (skips step 2 when unset), RUNS=n (default 5)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
exe=${DUALVEX:-$root/build/src/dualvex}
runs=${RUNS:-5}
folder=${1:-/tmp/dualvex-stream-bench}
mkdir -p "$folder"
trap 'rm -f "$folder"/equal1.bin "$folder"/equal2.bin "$folder"/dense2.bin "$folder"/sparse1.bin "$folder"/sparse2.bin "$folder"/*.out' EXIT
. "$root/bench/timing.sh"

ratio() { awk -v o="$ourMedian" -v t="$theirMedian" -v a="$1" -v b="$2" 'BEGIN {
  printf "%s: median %.3f s, %s: median %.3f s, ratio %.3f\n", a, o / 1e9, b, t / 1e9, o / t }'; }

# Peak private memory (RssAnon, sampled) and /usr/bin/time's maximum resident set.
memory() {
  /usr/bin/time -v -o "$folder/time.out" "$exe" "$@" > "$folder/mem.out" 2> /dev/null &
  local pid=$! peak=0 kb child
  sleep 0.05
  child=$(pgrep -P "$pid" -n || echo "$pid")
  while kb=$(awk '/^RssAnon:/ { print $2 }' "/proc/$child/status" 2> /dev/null); do
    [ -n "$kb" ] && [ "$kb" -gt "$peak" ] && peak=$kb
    sleep 0.01
  done
  wait "$pid" || true
  awk -v p="$peak" '/Maximum resident/ { r = $NF } /Elapsed/ { e = $NF } END {
    printf "private memory peak %.1f MiB, maximum resident set %.1f MiB, elapsed %s\n", p / 1024, r / 1024, e }' \
    "$folder/time.out"
}

echo "== equal cached 1 GiB pair"
head -c 1G /dev/urandom > "$folder/equal1.bin"
cp "$folder/equal1.bin" "$folder/equal2.bin"
first=$folder/equal1.bin
second=$folder/equal2.bin
theirs() { cmp -s "$first" "$second" || [ $? -eq 1 ]; }
ours() { "$exe" --summary "$first" "$second" > /dev/null || [ $? -eq 1 ]; }
time_interleaved
ratio "dualvex --summary" cmp
ours() { "$exe" --report "$first" "$second" > /dev/null || [ $? -eq 1 ]; }
time_interleaved
ratio "dualvex --report" cmp
memory --report "$first" "$second"

if [ -n "${BASELINE:-}" ]; then
  echo "== 1 GiB with 4,194,304 one-byte differences, against $BASELINE"
  python3 - "$folder/equal1.bin" "$folder/dense2.bin" << 'PY'
import sys
data = bytearray(open(sys.argv[1], "rb").read())
data[::256] = bytes(b ^ 0x5A for b in data[::256])
open(sys.argv[2], "wb").write(data)
PY
  second=$folder/dense2.bin
  ours() { "$exe" --report "$first" "$second" > "$folder/ours.out" || [ $? -eq 1 ]; }
  theirs() { "$BASELINE" --report "$first" "$second" > "$folder/theirs.out" || [ $? -eq 1 ]; }
  time_interleaved
  ratio "dualvex --report" "earlier --report"
  cmp -s "$folder/ours.out" "$folder/theirs.out" && echo "output byte-identical ($(sed -n 3p "$folder/ours.out"))" \
    || { echo "OUTPUT DIFFERS"; exit 1; }
  memory --report "$first" "$second"
fi
rm -f "$folder/equal1.bin" "$folder/equal2.bin" "$folder/dense2.bin" "$folder"/*.out

echo "== 16 GiB sparse pair"
truncate -s 16G "$folder/sparse1.bin" "$folder/sparse2.bin"
put() { printf "$3" | dd of="$folder/$1" bs=1 seek="$2" conv=notrunc status=none; }
put sparse1.bin 0 'A'
put sparse2.bin 4294967294 'XYZW'                # across the 4 GiB border
put sparse1.bin 8589934592 'hello'               # 8 GiB
put sparse2.bin 17179869183 'Z'                  # the last byte
expected='ranges: 4 differing: 11
0x0000000000000000 0x0000000000000001 1
0x00000000FFFFFFFE 0x0000000100000002 4
0x0000000200000000 0x0000000200000005 5
0x00000003FFFFFFFF 0x0000000400000000 1'
start=$(now)
"$exe" --report "$folder/sparse1.bin" "$folder/sparse2.bin" > "$folder/sparse.out" || [ $? -eq 1 ]
end=$(now)
if [ "$(tail -n +3 "$folder/sparse.out")" = "$expected" ]; then echo "found exactly the written ranges"; else
  echo "WRONG RANGES:"; cat "$folder/sparse.out"; exit 1; fi
awk -v t=$((end - start)) 'BEGIN { printf "16 GiB: %.2f s, %.0f MB/s per file\n", t / 1e9, 17179869184 / (t / 1e9) / 1e6 }'
memory --report "$folder/sparse1.bin" "$folder/sparse2.bin"
