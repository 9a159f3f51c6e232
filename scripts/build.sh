#!/usr/bin/env bash
# Configures and builds into build/ (or $DUALVEX_BUILD_DIR); extra arguments go to cmake.
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${DUALVEX_BUILD_DIR:-build}"
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" > /dev/null
cmake --build "$dir" --parallel "$(nproc)"
