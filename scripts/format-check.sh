#!/usr/bin/env bash
# Fails when a C++ file differs from what clang-format makes of it with .clang-format;
# with --fix it reformats them instead.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h' '*.inc')
if [ "${1:-}" = "--fix" ]; then
  clang-format -i "${files[@]}"
  exit 0
fi
if ! clang-format --dry-run --Werror "${files[@]}"; then
  echo "Formatting differs from .clang-format: run scripts/format-check.sh --fix" >&2
  exit 1
fi
echo "format check: ${#files[@]} files follow .clang-format"
