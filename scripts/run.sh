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
display=:$(( 90 + RANDOM % 100 ))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true' EXIT
export DISPLAY="$display"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

"$exe" &
app=$!
win=$(xdotool search --sync --onlyvisible --name 'Подбор клапана регулирующего' | head -n 1)
sleep 1   # let the first frames paint
import -window "$win" "$shot"
kill -TERM "$app"   # ends like the end of a session: inputs saved, exit 0
wait "$app" || true
echo "Screenshot of the window: $shot"
