#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Installs what is missing, builds the program and opens the demo listing in the viewer.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVITRANDEL_BENCH=OFF >/dev/null
cmake --build build -j"$(nproc)" --target vitrandel

# The demo listing keeps its pictures beside it and records "ruta actual=.",
# so it is opened from its own folder, as from the root of a disc.
cd examples/demo
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$root/build/src/vitrandel" demo.lst
else
  echo "No display here: starting the viewer under Xvfb, closing it after its first paint."
  VITRANDEL_QUIT_AFTER_FIRST_PAINT=1 xvfb-run -a -s "-screen 0 1280x800x24" "$root/build/src/vitrandel" demo.lst
fi
