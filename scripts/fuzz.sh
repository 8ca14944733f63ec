#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) and runs them on copies of our seed corpora.
#   scripts/fuzz.sh                  every target for 20 seconds (what CI runs)
#   scripts/fuzz.sh TARGET SECONDS [LIBFUZZER OPTIONS...]
#                                    one target for as long as asked, e.g.
#                                    scripts/fuzz.sh fuzz_listing_reader 3600 -fork=2 -max_len=1024
#   Long runs keep no allocation stacks and a small quarantine, which makes
#   them about a third faster; rerun a finding alone to see its full report.
# Findings are left as crash-* files in build-fuzz/findings.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  export CCACHE_BASEDIR="$root"
fi
CXX=clang++ cmake -S . -B build-fuzz -DVITRANDEL_FUZZ=ON -DVITRANDEL_BENCH=OFF \
  -DCMAKE_BUILD_TYPE=Debug "${launcher[@]}" >/dev/null

extra=()
if [ $# -ge 1 ]; then
  targets=("$1")
  seconds=${2:-600}
  extra=("${@:3}")
  export ASAN_OPTIONS=${ASAN_OPTIONS:-malloc_context_size=0:quarantine_size_mb=16}
else
  mapfile -t targets < <(cd fuzz && ls fuzz_*.cpp | sed 's/\.cpp$//')
  seconds=20
fi
cmake --build build-fuzz -j"$(nproc)" --target "${targets[@]}"

mkdir -p build-fuzz/findings
# Leaks inside Debian's metafile libraries, known and contained in a helper process.
[ -f fuzz/lsan.supp ] && export LSAN_OPTIONS="suppressions=$root/fuzz/lsan.supp"
for target in "${targets[@]}"; do
  name=${target#fuzz_}
  corpus="build-fuzz/corpus/$name"
  mkdir -p "$corpus"
  [ -d "fuzz/corpus/$name" ] && cp -n fuzz/corpus/"$name"/* "$corpus"/ 2>/dev/null || true
  dict=()
  [ -f "fuzz/$name.dict" ] && dict=(-dict="$root/fuzz/$name.dict")
  echo "== $target, ${seconds}s"
  (cd build-fuzz/findings &&
    "$root/build-fuzz/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 "${dict[@]}" "${extra[@]}" \
      "$root/$corpus" 2>&1 | grep -E '^(stat::number_of_executed_units|Done|==[0-9]+== ERROR|invariant failed|SUMMARY|INFO: fuzzed for)' )
done
