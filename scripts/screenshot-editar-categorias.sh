#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Takes docs/editar_categorias.png: the category editor under Xvfb on the
# demo's four categories, with a fifth being typed after "[Agregar Nuevo]".
# Usage: scripts/screenshot-editar-categorias.sh [build-folder]   (default: build)
set -euo pipefail
source "$(dirname "$0")/show-dialog-setup.sh" "$@"
out="$root/docs/editar_categorias.png"

xvfb-run -a -s "-screen 0 1024x768x24" bash -euo pipefail -c '
  "$1" editar_categorias &
  dialog=$!
  trap "kill $dialog 2>/dev/null || true" EXIT
  window=$(xdotool search --sync --onlyvisible --name "Editar categor")
  sleep 1
  # The name box, at about 220, 57 pixels in the window.
  xdotool mousemove --window "$window" 220 57 click 1
  xdotool type --delay 50 "Películas"
  sleep 1
  import -window "$window" "$2"
' _ "$bin" "$out"
echo "Wrote $out"
