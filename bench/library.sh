#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The library of discs at the size a collector reaches, 1,000 full listings
# (256,000 elements): bench_library times adding one listing, searching and
# opening the window inside one process; hyperfine then times whole
# `vitrandel-lst library search` processes beside `vitrandel-lst --help`,
# the least any run of the tool costs.
# The library is made once in the folder given (or a temporary one) and kept.
# Usage: bench/library.sh [build-folder] [library-home]   (defaults: build, a temporary folder)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
home=${2:-$(mktemp -d)}
lst="$build/tools/vitrandel-lst"
db="$home/vitrandel/biblioteca.sqlite"

VITRANDEL_BENCH_HOME="$home" "$build/bench/bench_library" 2>&1 | grep -v 'does not support raise'

# The second search prints 33,200 lines; a search that finds nothing exits 1.
hyperfine --warmup 3 --runs 30 -N -i \
  "$lst --help" \
  "$lst library --library $db search nandu" \
  "$lst library --library $db search \"castillo museo jardin\" -playa" \
  "$lst library --library $db list"
