#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Takes docs/web_page.png: the demo's index as `vitrandel-lst export-html`
# writes it (into a temporary folder: the page is never committed), shown by
# headless Chromium, which is installed from Debian when missing.
# Usage: scripts/screenshot-web-page.sh [build-folder]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build="$root/${1:-build}"
out="$root/docs/web_page.png"

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DVITRANDEL_BENCH=OFF >/dev/null
fi
cmake --build "$build" --target vitrandel-lst -j2 >/dev/null

if ! command -v chromium >/dev/null; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends chromium
fi

page=$(mktemp -d)
trap 'rm -rf "$page"' EXIT
"$build/tools/vitrandel-lst" export-html examples/demo/demo.lst "$page"
chromium --headless --no-sandbox --disable-gpu --hide-scrollbars --window-size=1280,900 \
  --screenshot="$out" "file://$page/index.html" 2>/dev/null
echo "Wrote $out"
