#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Takes docs/editar_desc.png and docs/fuentes.png: the description editor in
# the demo folder under Xvfb, on a description with the picture
# fotos/playa.jpg, after choosing the subfolder "fotos"; and the font chooser.
# Usage: scripts/screenshot-description.sh [build-folder]   (default: build)
set -euo pipefail
source "$(dirname "$0")/show-dialog-setup.sh" "$@"

xvfb-run -a -s "-screen 0 1024x768x24" bash -euo pipefail -c '
  "$2" editar_desc "$1/examples/demo" &
  dialog=$!
  trap "kill $dialog 2>/dev/null || true" EXIT
  window=$(xdotool search --sync --onlyvisible --name "Edición de la descripción")
  sleep 1
  # The folder selector, then its second entry, "fotos".
  xdotool mousemove --window "$window" 175 48 click 1
  sleep 0.5
  xdotool key Down Return
  sleep 0.5
  # The second file of the list, playa.jpg.
  xdotool mousemove --window "$window" 60 108 click 1
  sleep 1
  import -window "$window" "$1/docs/editar_desc.png"
  kill $dialog; wait $dialog 2>/dev/null || true

  "$2" fuentes "$1/examples/demo" &
  dialog=$!
  window=$(xdotool search --sync --onlyvisible --name "Cambiar fuente")
  sleep 1
  import -window "$window" "$1/docs/fuentes.png"
  kill $dialog; wait $dialog 2>/dev/null || true
' _ "$root" "$bin"
echo "Wrote $root/docs/editar_desc.png and $root/docs/fuentes.png"
