#!/usr/bin/env bash
# Configures and builds into build/ (or $DUALVEX_BUILD_DIR) with warnings as errors;
# extra arguments go to cmake. Configure output is shown only when configuring fails.
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${DUALVEX_BUILD_DIR:-build}"
log=$(mktemp)
trap 'rm -f "$log"' EXIT
if ! cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDUALVEX_WERROR=ON "$@" > "$log" 2>&1; then
  cat "$log" >&2
  exit 1
fi
cmake --build "$dir" --parallel "$(nproc)"
