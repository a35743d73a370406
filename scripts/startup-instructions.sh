#!/usr/bin/env bash
# Instructions a start of the program runs until its first paint, counted by
# callgrind (repeatable where timings on a shared machine are not): each
# executable given is started in an empty folder on the offscreen platform,
# as at a first start, and ended once it has begun painting.
#   bash scripts/startup-instructions.sh build-bench/app/zelton [other/zelton ...]
set -euo pipefail
command -v valgrind >/dev/null || { echo "valgrind missing: apt-get install valgrind" >&2; exit 1; }
for exe in "$@"; do
  dir=$(mktemp -d)
  cp "$exe" "$dir/zelton"
  (cd "$dir" && QT_QPA_PLATFORM=offscreen exec valgrind --tool=callgrind \
     --dump-before='QWidgetRepaintManager::paintAndFlush*' --callgrind-out-file="$dir/cg.out" \
     ./zelton >/dev/null 2>"$dir/valgrind.log") &
  pid=$!
  for _ in $(seq 1 120); do [ -e "$dir/cg.out.1" ] && break; sleep 1; done
  sleep 2
  kill -TERM "$pid"
  wait "$pid" || true
  [ -e "$dir/cg.out.1" ] || { echo "$exe: no paint within two minutes" >&2; exit 1; }
  echo "$exe: $(awk '/^summary:/ {print $2}' "$dir/cg.out.1") instructions to the first paint"
  rm -rf "$dir"
done
