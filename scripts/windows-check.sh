#!/usr/bin/env bash
# The core on Windows: builds core/ and its check program with MinGW-w64
# (cmake/mingw-w64-x86_64.cmake, into build-windows/) and runs the check
# under Wine, which also compares the INI layer with the system's own
# profile functions.
#   bash scripts/windows-check.sh [seed [count]]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-windows-deps.sh

cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DZELTON_CORE_ONLY=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build-windows -j "$(nproc)"

# Everything of the run in one fresh folder, in memory where there is such
# a place: the check writes some ten thousand small files.
base=/dev/shm
[ -d "$base" ] && [ -w "$base" ] || base=${TMPDIR:-/tmp}
work=$(mktemp -d "$base/zelton-windows.XXXXXX")
chmod 755 "$work"
# The check runs as an ordinary user, whom a folder can refuse new files
# (root may write anywhere).
as=()
if [ "$(id -u)" = 0 ]; then
  chown nobody:nogroup "$work"
  as=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
wineAs() { "${as[@]}" env HOME="$work" WINEPREFIX="$work/prefix" WINEDEBUG=-all "$@"; }
cleanup() {
  wineAs wineserver -k 2>/dev/null || true
  chmod -R u+w "$work" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
cp build-windows/tests/corecheck/corecheck.exe "$work/"
# a folder that takes no new files, holding a file that may be written
mkdir "$work/locked"
: >"$work/locked/settings.ini"
chmod 666 "$work/locked/settings.ini"
chmod 555 "$work/locked"

echo "preparing the Wine prefix (once per run)"
wineAs wineboot -i >/dev/null 2>&1
wineAs CORECHECK_LOCKED_FOLDER="Z:$work/locked" wine "$work/corecheck.exe" "$@"
