#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Takes docs/editor.png: the editor under Xvfb after opening the demo listing
# through Archivo > Abrir... and selecting its third element.
# Usage: scripts/screenshot-editor.sh [build-folder]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
bin="$root/${1:-build}/src/vitrandel"
out="$root/docs/editor.png"

xvfb-run -a -s "-screen 0 1024x768x24" bash -euo pipefail -c '
  source "$1/scripts/xdotool-steps.sh"
  cd "$1/examples/demo"
  "$2" &
  editor=$!
  trap "kill $editor 2>/dev/null || true" EXIT
  window=$(window_named "^Vitrandel$")
  # No window manager gives the keyboard focus here, so the menu is clicked.
  open_listing_from_menu "$window" 25 10 40 58 demo.lst
  # The first entry of the element list, then two steps down.
  click_in "$window" 50 120
  xdotool key Down Down
  sleep 1
  import -window "$window" "$3"
' _ "$root" "$bin" "$out"
echo "Wrote $out"
