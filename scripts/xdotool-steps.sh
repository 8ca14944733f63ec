# SPDX-License-Identifier: GPL-2.0-or-later
# The steps the screenshot scripts take in the program's windows under Xvfb,
# sourced by them: a window is found by its title and given a moment to
# settle before anything is done in it.

# The id of the visible window whose title matches $1, once it has settled.
window_named() {
  local id
  id=$(xdotool search --sync --onlyvisible --name "$1")
  sleep 1
  echo "$id"
}

# A click at $2, $3 in window $1.
click_in() {
  xdotool mousemove --window "$1" "$2" "$3" click 1
}

# Gives window $1 the keyboard with a click at $2, $3, presses $4, and gives
# the id of the window that opens, whose title matches $5.
open_with_key() {
  click_in "$1" "$2" "$3"
  xdotool key "$4"
  window_named "$5"
}

# Types $4 into the box at $2, $3 of window $1, as a user would.
type_into() {
  click_in "$1" "$2" "$3"
  xdotool type --delay 80 "$4"
}

# Opens the listing file $6 in the editor window $1 through its menu at
# $2, $3 and the menu's item at $4, $5 (Archivo > Abrir...), typing its name
# into the file dialog.
open_listing_from_menu() {
  click_in "$1" "$2" "$3"
  sleep 0.5
  click_in "$1" "$4" "$5"
  window_named "Abrir" >/dev/null
  xdotool type "$6"
  xdotool key Return
  sleep 1
}
