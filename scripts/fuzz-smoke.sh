#!/usr/bin/env bash
# Runs every libFuzzer target for a few seconds from its committed seed corpus
# (fuzz/corpus/<target>), with its dictionary where there is one.
# Usage: scripts/fuzz-smoke.sh BUILD_DIR [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "$1")
seconds="${2:-5}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
count=0
for src in fuzz/fuzz_*.cpp; do
  name=$(basename "$src" .cpp)
  exe="$build/fuzz/$name"
  [ -x "$exe" ] || { echo "fuzz target not built: $exe" >&2; exit 1; }
  seeds="$PWD/fuzz/corpus/$name"
  [ -d "$seeds" ] || { echo "no seed corpus: $seeds" >&2; exit 1; }
  args=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=0)
  [ -f "fuzz/$name.dict" ] && args+=(-dict="$PWD/fuzz/$name.dict")
  mkdir -p "$work/$name"
  # New inputs (and any crash file) go to the scratch folder; the committed seeds stay as they are.
  if ! (cd "$work" && "$exe" "${args[@]}" "$work/$name" "$seeds" > "$work/$name.log" 2>&1); then
    tail -n 40 "$work/$name.log" >&2
    echo "fuzz target failed: $name" >&2
    exit 1
  fi
  echo "fuzz smoke: $name $(grep -Eo '#[0-9]+' "$work/$name.log" | tail -n 1 | tr -d '#') inputs in ${seconds}s"
  count=$((count + 1))
done
echo "fuzz smoke: $count targets passed"
