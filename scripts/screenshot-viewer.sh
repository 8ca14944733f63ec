#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Takes docs/viewer.png: the viewer on the demo listing under Xvfb, after a
# click on the list and four presses of the down arrow have selected the fifth
# element ("Faro de Finisterre", a Windows metafile stretched to its frame).
# Usage: scripts/screenshot-viewer.sh [build-folder]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
bin="$root/${1:-build}/src/vitrandel"
out="$root/docs/viewer.png"

xvfb-run -a -s "-screen 0 1024x768x24" bash -euo pipefail -c '
  cd "$1/examples/demo"
  "$2" demo.lst &
  viewer=$!
  trap "kill $viewer 2>/dev/null || true" EXIT
  source "$1/scripts/xdotool-steps.sh"
  window=$(window_named "Colección")
  # The first entry of the element list, at about 50, 112 pixels in the window.
  click_in "$window" 50 112
  xdotool key --window "$window" Down Down Down Down
  sleep 1
  import -window "$window" "$3"
' _ "$root" "$bin" "$out"
echo "Wrote $out"
