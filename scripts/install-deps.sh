#!/usr/bin/env bash
# Installs the Debian packages the program, its tests and its tools need.
set -euo pipefail
pkgs=(build-essential cmake ninja-build pkg-config git clang-format
      qt6-base-dev qt6-base-dev-tools qt6-tools-dev-tools qt6-translations-l10n libgl-dev
      libjpeg-dev fonts-liberation2 fontconfig
      xvfb xauth x11-utils x11-apps imagemagick xdotool
      locales python3 python3-iapws
      poppler-utils desktop-file-utils appstream dpkg-dev file lintian
      shared-mime-info libglib2.0-bin xdg-utils)
bash "$(dirname "$0")/install-packages.sh" "${pkgs[@]}"

# A locale with a comma as decimal separator, for the number text tests.
if ! locale -a 2>/dev/null | grep -qix 'ru_RU.utf8'; then
  localedef -i ru_RU -f UTF-8 ru_RU.UTF-8 || echo "warning: could not generate ru_RU.UTF-8" >&2
fi
