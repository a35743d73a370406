#!/usr/bin/env bash
# Checks that every tracked .cpp and .h has the layout of .clang-format
# (clang-format 14, Debian bookworm's); with --fix, gives them that layout.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -d '' files < <(git ls-files -z '*.cpp' '*.h')
if [ "${1:-}" = --fix ]; then
  clang-format -i "${files[@]}"
else
  clang-format --dry-run --Werror "${files[@]}"
fi
