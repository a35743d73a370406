#!/usr/bin/env bash
# Builds the picture generator and redraws the pictures and the icon
# into resources/. Running it again on the same machine gives
# byte-identical files; on another CPU the raster engine takes other code
# paths and antialiased pixels may differ (tests/pictures/test_generator
# compares with a tolerance).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${ZELTON_TOOLS_BUILD:-$root/build-tools}"
cmake -S "$root" -B "$build" -G Ninja -DZELTON_BUILD_TESTS=OFF -DZELTON_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target gen_pictures
"$build/tools/gen_pictures" "$root/resources"
echo "pictures written to $root/resources"
