#!/usr/bin/env bash
# Installs what is needed, builds the program and starts it.
# Without a display it starts the program on a virtual display (Xvfb),
# saves a screenshot of the window to the file it names, and closes the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target zelton
exe="$PWD/build/app/zelton"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$exe"
fi

shot="${1:-$PWD/zelton-screenshot.png}"
source scripts/virtual-display.sh
start_virtual_display
trap 'kill "$xvfb" 2>/dev/null || true' EXIT

"$exe" &
app=$!
win=$(xdotool search --sync --onlyvisible --name 'Подбор клапана регулирующего' | head -n 1)
sleep 1   # let the first frames paint
import -window "$win" "$shot"
kill -TERM "$app"   # ends like the end of a session: inputs saved, exit 0
wait "$app" || true
echo "Screenshot of the window: $shot"
