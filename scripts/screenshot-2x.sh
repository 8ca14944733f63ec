#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Takes docs/viewer-2x.png and docs/editor-2x.png: the viewer and the editor
# on the demo listing under Xvfb at QT_SCALE_FACTOR=2, as on a laptop's
# screen scaled to 200 %, with the fifth element shown in the viewer and the
# third in the editor. Windows start from no remembered size.
# Usage: scripts/screenshot-2x.sh [build-folder]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
bin="$root/${1:-build}/src/vitrandel"

XDG_CONFIG_HOME=$(mktemp -d) QT_SCALE_FACTOR=2 xvfb-run -a -s "-screen 0 1600x1200x24" bash -euo pipefail -c '
  source "$1/scripts/xdotool-steps.sh"
  cd "$1/examples/demo"
  "$2" demo.lst &
  viewer=$!
  window=$(window_named "Colección")
  # The first entry of the element list, at twice its place at 1x.
  click_in "$window" 100 224
  xdotool key --window "$window" Down Down Down Down
  sleep 1.5
  import -window "$window" "$1/docs/viewer-2x.png"
  kill $viewer

  "$2" &
  editor=$!
  trap "kill $editor 2>/dev/null || true" EXIT
  window=$(window_named "^Vitrandel$")
  open_listing_from_menu "$window" 50 20 80 88 demo.lst
  click_in "$window" 100 240
  xdotool key Down Down
  sleep 1.5
  import -window "$window" "$1/docs/editor-2x.png"
' _ "$root" "$bin"
echo "Wrote docs/viewer-2x.png and docs/editor-2x.png"
