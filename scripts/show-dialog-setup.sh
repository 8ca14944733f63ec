# SPDX-License-Identifier: GPL-2.0-or-later
# Sourced by the screenshot scripts of single dialogs, with their arguments:
# builds show_dialog in the build folder (default: build) and sets root,
# build and bin.
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$(pwd)
build="$root/${1:-build}"
cmake --build "$build" --target show_dialog
bin="$build/tests/show_dialog"
