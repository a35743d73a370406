#!/usr/bin/env bash
# Installs what the Windows check needs: the MinGW-w64 cross-compiler in its
# POSIX thread model, and Wine to run the Windows programs.
set -euo pipefail
pkgs=(g++-mingw-w64-x86-64-posix wine wine64)
bash "$(dirname "$0")/install-packages.sh" "${pkgs[@]}"
