#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Time from process start to the first paint of the index viewer on a full
# listing (256 elements, 51 categories) and of the editor, beside a bare Qt
# window that only opens and paints, with each as a ratio to it; and beside
# the same bare window showing one line of text, the least any window with
# words in it pays (bench/bare_window.cpp says why).
# All quit right after their first paint (VITRANDEL_QUIT_AFTER_FIRST_PAINT=1)
# and say when it came. Two tables: to the first paint, from runs that take
# the programs in turn; and the whole process, exit included, from one
# hyperfine run. The bare window draws no text, so it paints before
# fontconfig has read its configuration and pays for that at exit instead
# (Qt tears its font database down then); any window with a caption pays it
# before painting.
# Runs under Xvfb when xvfb-run is there, otherwise on Qt's offscreen platform.
# Usage: bench/startup.sh [build-folder] [runs]   (defaults: build, 30)
set -euo pipefail

# The programs are run in turn, round after round, so that a machine that
# drifts faster or slower during the run (a shared virtual machine does)
# moves them all alike; hyperfine runs each command's runs in one block,
# and that drift alone once moved its ratios between 1.06 and 1.60 here.
measure() {
  python3 - "$runs" "$bare" "$vitrandel" "$listing" <<'PY'
import re, statistics, subprocess, sys, time
runs = int(sys.argv[1])
bare, vitrandel, listing = sys.argv[2:5]
commands = [("bare Qt window", [bare]),
            ("bare window, one caption", [bare, "--caption"]),
            ("viewer, 256 elements", [vitrandel, listing]),
            ("editor", [vitrandel])]
# Each program prints the steady clock's reading at its first paint; Python's
# monotonic clock is the same clock, so the time to the paint leaves out the
# exit, which says nothing about how soon the window is seen.
painted_at = re.compile(rb"first paint .*at (\d+) ns")
def once(argv):
    start = time.monotonic_ns()
    done = subprocess.run(argv, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, check=True)
    m = painted_at.search(done.stderr)
    if not m:
        sys.exit(f"{argv[0]} did not report its first paint: {done.stderr.decode(errors='replace')}")
    return (int(m.group(1)) - start) / 1e9
for _ in range(3):  # warm-up: caches, the display server
    for _, argv in commands:
        once(argv)
paint = {name: [] for name, _ in commands}
for r in range(runs):
    k = r % len(commands)
    for name, argv in commands[k:] + commands[:k]:
        paint[name].append(once(argv))
def q1(t): return statistics.quantiles(t, n=4)[0]
def table(heading, times):
    base = times["bare Qt window"]
    print(heading)
    print(f"{'':26} {'lower quartile':>16} {'median':>10}   ratio (q1, median)")
    for name, _ in commands:
        t = times[name]
        print(f"{name:26} {q1(t)*1000:13.1f} ms {statistics.median(t)*1000:7.1f} ms"
              f"   {q1(t)/q1(base):.2f}  {statistics.median(t)/statistics.median(base):.2f}")
print(f"{runs} alternating runs each")
table("From start to the first paint:", paint)
PY
}

# hyperfine takes each program's runs together, so a machine drifting
# during the run moves the ratios here more than in the table above.
whole_process() {
  local json
  json=$(mktemp)
  hyperfine -N --warmup 3 --runs "$runs" --export-json "$json" \
    -n "bare Qt window" "'$bare'" -n "bare window, one caption" "'$bare' --caption" \
    -n "viewer, 256 elements" "'$vitrandel' '$listing'" -n "editor" "'$vitrandel'" >/dev/null
  python3 - "$json" <<'PY'
import json, sys
results = json.load(open(sys.argv[1]))["results"]
base = results[0]["median"]
print("The whole process, exit included (hyperfine):")
print(f"{'':26} {'median':>10}   ratio")
for r in results:
    print(f"{r['command']:26} {r['median']*1000:7.1f} ms   {r['median']/base:.2f}")
PY
  rm -f "$json"
}

# Second pass, inside the display server started by the first.
if [ -n "${VITRANDEL_BENCH_LISTING:-}" ]; then
  bare=$1 vitrandel=$2 listing=$VITRANDEL_BENCH_LISTING runs=$3
  measure
  whole_process
  exit
fi

cd "$(dirname "$0")/.."
build="$(pwd)/${1:-build}"
runs="${2:-30}"
cmake --build "$build" --target vitrandel vitrandel-lst bare_qt_window >/dev/null
vitrandel="$build/src/vitrandel"
bare="$build/bench/bare_qt_window"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
listing="$work/full.lst"
# The largest listing the tables hold.
{
  printf '{"title": "Banco de pruebas", "categories": ['
  for c in $(seq 1 51); do
    [ "$c" -gt 1 ] && printf ', '
    printf '"Categoría %d"' "$c"
  done
  printf '], "elements": ['
  for e in $(seq 1 256); do
    [ "$e" -gt 1 ] && printf ', '
    printf '{"name": "Elemento %03d", "description": "Descripción del elemento %d, con algo de texto para leer.", ' "$e" "$e"
    printf '"category": %d, "fontName": "Arial", "fontSize": 10, "textColor": 0}' $(( (e - 1) % 52 ))
  done
  printf ']}\n'
} > "$work/full.json"
"$build/tools/vitrandel-lst" build "$work/full.json" "$listing"

export VITRANDEL_QUIT_AFTER_FIRST_PAINT=1
if command -v xvfb-run >/dev/null; then
  # With no other client, Xvfb resets itself each time its last client
  # leaves, and the next program's connection waits for that: from nothing
  # to 45 ms here, at random, more than the differences measured. A desktop
  # session's server always has other clients and never resets.
  VITRANDEL_BENCH_LISTING="$listing" xvfb-run -a -s "-screen 0 1280x800x24 -noreset" \
    bash "$0" "$bare" "$vitrandel" "$runs"
else
  export QT_QPA_PLATFORM=offscreen
  measure
  whole_process
fi
