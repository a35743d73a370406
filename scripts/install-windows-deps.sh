#!/usr/bin/env bash
# Installs what the Windows check needs: the MinGW-w64 cross-compiler in its
# POSIX thread model, and Wine to run the Windows programs.
set -euo pipefail
pkgs=(g++-mingw-w64-x86-64-posix wine wine64)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
