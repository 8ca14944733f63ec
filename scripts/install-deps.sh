#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Installs the Debian packages the build, the tests and the demo need, only
# when something is missing.
set -euo pipefail

packages=(
  g++ cmake make pkg-config ccache
  clang libclang-rt-14-dev
  qt6-base-dev qt6-translations-l10n libgl-dev
  qt6-svg-dev libwmf-dev libemf2svg-dev libseccomp-dev
  fonts-liberation fonts-wine fonts-crosextra-carlito fonts-crosextra-caladea
  libfontconfig-dev libsqlite3-dev
  nlohmann-json3-dev libbenchmark-dev hyperfine
  xvfb xauth imagemagick
  xdotool
  librsvg2-bin dpkg-dev file desktop-file-utils
  # scripts/check-package.sh: the MIME and desktop databases as a desktop sees
  # them, AppStream, manual pages and the Debian copyright file's syntax
  shared-mime-info libglib2.0-bin xdg-utils appstream man-db groff-base python3-debian gzip
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
