#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Takes docs/biblioteca.png: the library window with "playa" typed and an
# element chosen whose disc is not in the drive, so that its picture is the
# thumbnail the library kept. The demo listing is opened once from a copy
# (which puts it and its thumbnails in a library of the script's own), the
# copy is removed, and the editor's Ctrl+B opens the library.
# Usage: scripts/screenshot-biblioteca.sh [build-folder]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
bin="$root/${1:-build}/src/vitrandel"
out="$root/docs/biblioteca.png"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r examples/demo "$work/disco"

XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" \
xvfb-run -a -s "-screen 0 1280x800x24" bash -euo pipefail -c '
  source "$4/scripts/xdotool-steps.sh"
  cd "$1/disco"
  "$2" demo.lst &
  viewer=$!
  xdotool search --sync --onlyvisible --name "Colección" >/dev/null
  # Time for the thumbnails, made after the listing is added.
  sleep 3
  kill $viewer; wait $viewer || true
  cd "$1"
  rm -rf "$1/disco"
  "$2" &
  editor=$!
  trap "kill $editor 2>/dev/null || true" EXIT
  window=$(window_named "^Vitrandel$")
  library=$(open_with_key "$window" 250 30 ctrl+b "^Biblioteca de discos$")
  type_into "$library" 200 20 "playa"
  sleep 0.5
  click_in "$library" 100 62
  sleep 1
  xdotool getwindowgeometry "$library"
  import -window "$library" "$3"
' _ "$work" "$bin" "$out" "$root"
echo "Wrote $out"
