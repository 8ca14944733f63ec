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
  cd "$1/examples/demo"
  "$2" &
  editor=$!
  trap "kill $editor 2>/dev/null || true" EXIT
  window=$(xdotool search --sync --onlyvisible --name "^Vitrandel$")
  sleep 1
  # No window manager gives the keyboard focus here, so the menu is clicked.
  xdotool mousemove --window "$window" 25 10 click 1
  sleep 0.5
  xdotool mousemove --window "$window" 40 58 click 1
  dialog=$(xdotool search --sync --onlyvisible --name "Abrir")
  sleep 0.5
  xdotool type "demo.lst"
  xdotool key Return
  sleep 1
  # The first entry of the element list, then two steps down.
  xdotool mousemove --window "$window" 50 120 click 1
  xdotool key Down Down
  sleep 1
  import -window "$window" "$3"
' _ "$root" "$bin" "$out"
echo "Wrote $out"
