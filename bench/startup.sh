#!/usr/bin/env bash
# Time from process start to the first paint of the index viewer on a full
# listing (256 elements, 51 categories) and of the editor, beside a bare Qt
# window that only opens and paints, in the same run, with each as a ratio.
# All quit right after their first paint (VITRANDEL_QUIT_AFTER_FIRST_PAINT=1).
# Runs under Xvfb when xvfb-run is there, otherwise on Qt's offscreen platform.
# Usage: bench/startup.sh [build-folder] [runs]   (defaults: build, 30)
set -euo pipefail

# The three are run in turn, round after round, so that a machine that
# drifts faster or slower during the run (a shared virtual machine does)
# moves all three alike; hyperfine runs each command's runs in one block,
# and that drift alone moved the ratios between 1.06 and 1.60 here.
measure() {
  python3 - "$runs" "$bare" "$vitrandel" "$listing" <<'PY'
import os, statistics, subprocess, sys, time
runs = int(sys.argv[1])
bare, vitrandel, listing = sys.argv[2:5]
commands = [("bare Qt window", [bare]),
            ("viewer, 256 elements", [vitrandel, listing]),
            ("editor", [vitrandel])]
def once(argv):
    start = time.perf_counter()
    subprocess.run(argv, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
    return time.perf_counter() - start
for _ in range(3):  # warm-up: caches, the display server
    for _, argv in commands:
        once(argv)
times = {name: [] for name, _ in commands}
for r in range(runs):
    order = commands[r % 3:] + commands[:r % 3]
    for name, argv in order:
        times[name].append(once(argv))
def q1(t): return statistics.quantiles(t, n=4)[0]
base = times["bare Qt window"]
print(f"{runs} alternating runs each")
print(f"{'':24} {'lower quartile':>16} {'median':>10}   ratio (q1, median)")
for name, _ in commands:
    t = times[name]
    print(f"{name:24} {q1(t)*1000:13.1f} ms {statistics.median(t)*1000:7.1f} ms"
          f"   {q1(t)/q1(base):.2f}  {statistics.median(t)/statistics.median(base):.2f}")
PY
}

# Second pass, inside the display server started by the first.
if [ -n "${VITRANDEL_BENCH_LISTING:-}" ]; then
  bare=$1 vitrandel=$2 listing=$VITRANDEL_BENCH_LISTING runs=$3
  measure
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
  VITRANDEL_BENCH_LISTING="$listing" xvfb-run -a -s "-screen 0 1280x800x24" bash "$0" "$bare" "$vitrandel" "$runs"
else
  export QT_QPA_PLATFORM=offscreen
  measure
fi
