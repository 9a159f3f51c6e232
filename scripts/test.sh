#!/usr/bin/env bash
# Sets up, builds and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
DUALVEX_BUILD_DIR=build scripts/build.sh -DDUALVEX_BUILD_TESTS=ON -DDUALVEX_BUILD_BENCH=ON
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --no-tests=error --parallel "$(nproc)" --timeout 300
