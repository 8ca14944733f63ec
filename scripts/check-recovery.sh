#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Drives the real editor under Xvfb as an author would: adds three elements,
# undoes and redoes with the keyboard, is killed with SIGKILL, and is started
# again, which must offer the work back. Leaves recovery-*.png to look at.
# Usage: scripts/check-recovery.sh [build-folder]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
bin="$root/${1:-build}/src/vitrandel"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

XDG_STATE_HOME="$work/state" xvfb-run -a -s "-screen 0 1024x768x24" bash -euo pipefail -c '
  source "$3/scripts/xdotool-steps.sh"
  cd "$1"
  "$2" &
  editor=$!
  window=$(window_named "^Vitrandel$")
  for name in uno dos tres; do
    # No window manager gives the keyboard focus here: the button is clicked.
    click_in "$window" 44 314
    window_named "Ingrese el nombre" >/dev/null
    xdotool type "$name"
    xdotool key Return
    sleep 0.5
  done
  click_in "$window" 80 250
  xdotool key ctrl+z ctrl+z ctrl+y
  sleep 3
  import -window "$window" "$3/recovery-before-kill.png"
  kill -KILL "$editor"
  wait "$editor" || true
  ls "$XDG_STATE_HOME/vitrandel/recuperacion"

  "$2" &
  again=$!
  trap "kill $again 2>/dev/null || true" EXIT
  sleep 2
  import -window root "$3/recovery-question.png"
  xdotool key Return
  sleep 1
  import -window root "$3/recovery-after.png"
' _ "$work" "$bin" "$root"
echo "Wrote recovery-before-kill.png, recovery-question.png, recovery-after.png"
