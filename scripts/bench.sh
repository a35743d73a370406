#!/usr/bin/env bash
# Builds the benchmarks (optimised) and runs them one after another.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DZELTON_BUILD_TESTS=OFF >/dev/null
cmake --build build-bench -j "$(nproc)" --target bench_settings bench_startup bench_keystroke bench_hint bench_valvecheck bench_schedule zelton
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
for b in bench_settings bench_startup bench_keystroke bench_hint bench_valvecheck bench_schedule; do
  echo "== $b"
  (cd "$(mktemp -d)" && "$OLDPWD/build-bench/bench/$b")
done
