#!/usr/bin/env bash
# The core on Windows: builds core/ and its check program with MinGW-w64
# (cmake/mingw-w64-x86_64.cmake, into build-windows/) and runs the check
# under Wine, which also compares the INI layer with the system's own
# profile functions.
#   bash scripts/windows-check.sh [seed [count]]
# A WINEPREFIX given from outside is used (and prepared if empty); without
# one, a fresh prefix is made for this run and removed at its end.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-windows-deps.sh

cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DZELTON_CORE_ONLY=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build-windows -j "$(nproc)"

export WINEDEBUG=-all
if [ -z "${WINEPREFIX:-}" ]; then
  # in memory where there is such a folder: the check writes many files
  base=/dev/shm
  [ -d "$base" ] && [ -w "$base" ] || base=${TMPDIR:-/tmp}
  WINEPREFIX=$(mktemp -d "$base/zelton-wine.XXXXXX")
  export WINEPREFIX
  trap 'wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "preparing the Wine prefix $WINEPREFIX (once per run)"
  wineboot -i >/dev/null 2>&1
fi
wine build-windows/tests/corecheck/corecheck.exe "$@"
