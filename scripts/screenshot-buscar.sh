#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Takes docs/buscar.png: the viewer on the demo listing under Xvfb with the
# find window beside it, "ano" typed (it finds "año" in three elements) and the
# second match chosen with Down, Down and Enter.
# Usage: scripts/screenshot-buscar.sh [build-folder]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
bin="$root/${1:-build}/src/vitrandel"
out="$root/docs/buscar.png"

xvfb-run -a -s "-screen 0 1280x800x24" bash -euo pipefail -c '
  cd "$1/examples/demo"
  "$2" demo.lst &
  viewer=$!
  trap "kill $viewer 2>/dev/null || true" EXIT
  source "$1/scripts/xdotool-steps.sh"
  window=$(window_named "Colección")
  # A click on the element list gives the viewer the keyboard.
  find=$(open_with_key "$window" 50 112 ctrl+f "^Buscar$")
  type_into "$find" 150 15 "ano"
  xdotool key Down Down Return
  sleep 1
  # Both windows: the viewer centred, the find window at its right.
  import -window root -crop 710x320+470+240 +repage "$3"
' _ "$root" "$bin" "$out"
echo "Wrote $out"
