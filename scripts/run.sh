#!/usr/bin/env bash
# Sets up, builds and runs Dualvex on the example pair.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
DUALVEX_BUILD_DIR=build scripts/build.sh -DDUALVEX_BUILD_TESTS=OFF -DDUALVEX_BUILD_BENCH=OFF
first=examples/firmware_v1.hex
second=examples/firmware_v2.bin
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display available: printing the comparison report instead of opening the window."
  build/src/dualvex --report "$first" "$second" || [ $? -eq 1 ]
  exit 0
fi
exec build/src/dualvex -J "$first" "$second"
