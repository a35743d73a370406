#!/usr/bin/env bash
# Builds the picture generator and redraws the pictures and the icon
# into resources/. The output is reproducible: running it again gives
# byte-identical files.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${ZELTON_TOOLS_BUILD:-$root/build-tools}"
cmake -S "$root" -B "$build" -G Ninja -DZELTON_BUILD_TESTS=OFF -DZELTON_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target gen_pictures
"$build/tools/gen_pictures" "$root/resources"
echo "pictures written to $root/resources"
