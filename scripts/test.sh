#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Installs what is missing, then:
#   1. builds in Debug with warnings as errors and runs every test;
#   2. builds everything in Release with warnings as errors, and the Debian
#      package from it, which scripts/check-package.sh unpacks and checks;
#   3. runs every test again under AddressSanitizer and UndefinedBehaviorSanitizer;
#   4. gives each fuzz target a short run (scripts/fuzz.sh).
# scripts/test.sh --quick stops after the first step.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
jobs=$(nproc)
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  export CCACHE_BASEDIR="$PWD"
fi
configure() {
  local dir=$1
  shift
  cmake -S . -B "$dir" -DVITRANDEL_WERROR=ON "${launcher[@]}" "$@" >/dev/null
}
run_tests() {
  local dir=$1
  shift
  (cd "$dir" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$jobs" "$@")
}

echo "== Every source file names its licence"
bash scripts/check-spdx.sh

echo "== Each layer includes only those below it"
bash scripts/check-layers.sh

echo "== Debug build, every test"
configure build-test -DCMAKE_BUILD_TYPE=Debug
cmake --build build-test -j"$jobs"
run_tests build-test
[ "${1:-}" = "--quick" ] && exit 0

echo "== Release build"
configure build-release -DCMAKE_BUILD_TYPE=Release
cmake --build build-release -j"$jobs"
bash scripts/check-package.sh build-release

echo "== Every test under AddressSanitizer and UndefinedBehaviorSanitizer"
configure build-asan -DCMAKE_BUILD_TYPE=Debug -DVITRANDEL_SANITIZE=ON -DVITRANDEL_BENCH=OFF
cmake --build build-asan -j"$jobs"
run_tests build-asan

echo "== Short fuzz runs"
bash scripts/fuzz.sh
