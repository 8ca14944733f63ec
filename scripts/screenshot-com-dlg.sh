#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Takes docs/com_dlg.png: the file dialog as "Guardar como..." in the demo
# folder under Xvfb, after a click on demo.lst in the file list.
# Usage: scripts/screenshot-com-dlg.sh [build-folder]   (default: build)
set -euo pipefail
source "$(dirname "$0")/show-dialog-setup.sh" "$@"
out="$root/docs/com_dlg.png"

xvfb-run -a -s "-screen 0 1024x768x24" bash -euo pipefail -c '
  "$2" com_dlg "$1/examples/demo" &
  dialog=$!
  trap "kill $dialog 2>/dev/null || true" EXIT
  window=$(xdotool search --sync --onlyvisible --name "Guardar como")
  sleep 1
  # The first entry of the file list, at about 215, 48 pixels in the window.
  xdotool mousemove --window "$window" 215 48 click 1
  sleep 1
  import -window "$window" "$3"
' _ "$root" "$bin" "$out"
echo "Wrote $out"
