#!/usr/bin/env bash
# Time from process start to the first paint of the index viewer on a full
# listing (256 elements, 51 categories) and of the editor, beside a bare Qt
# window that only opens and paints, in the same run, with each as a ratio.
# All quit right after their first paint (VITRANDEL_QUIT_AFTER_FIRST_PAINT=1)
# and say when it came. Two tables: to the first paint, and the whole process
# with its exit. The bare window draws no text, so it paints before fontconfig
# has read its configuration and pays for that at exit instead (Qt tears its
# font database down then); any window with a caption pays it before painting.
# Runs under Xvfb when xvfb-run is there, otherwise on Qt's offscreen platform.
# Usage: bench/startup.sh [build-folder] [runs]   (defaults: build, 30)
set -euo pipefail

# The three are run in turn, round after round, so that a machine that
# drifts faster or slower during the run (a shared virtual machine does)
# moves all three alike; hyperfine runs each command's runs in one block,
# and that drift alone moved the ratios between 1.06 and 1.60 here.
measure() {
  python3 - "$runs" "$bare" "$vitrandel" "$listing" <<'PY'
import re, statistics, subprocess, sys, time
runs = int(sys.argv[1])
bare, vitrandel, listing = sys.argv[2:5]
commands = [("bare Qt window", [bare]),
            ("viewer, 256 elements", [vitrandel, listing]),
            ("editor", [vitrandel])]
# Each program prints the steady clock's reading at its first paint; Python's
# monotonic clock is the same clock, so the time to the paint leaves out the
# exit, which says nothing about how soon the window is seen.
painted_at = re.compile(rb"first paint .*at (\d+) ns")
def once(argv):
    start = time.monotonic_ns()
    done = subprocess.run(argv, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, check=True)
    end = time.monotonic_ns()
    m = painted_at.search(done.stderr)
    if not m:
        sys.exit(f"{argv[0]} did not report its first paint: {done.stderr.decode(errors='replace')}")
    return (int(m.group(1)) - start) / 1e9, (end - start) / 1e9
for _ in range(3):  # warm-up: caches, the display server
    for _, argv in commands:
        once(argv)
paint = {name: [] for name, _ in commands}
whole = {name: [] for name, _ in commands}
for r in range(runs):
    order = commands[r % 3:] + commands[:r % 3]
    for name, argv in order:
        p, w = once(argv)
        paint[name].append(p)
        whole[name].append(w)
def q1(t): return statistics.quantiles(t, n=4)[0]
def table(heading, times):
    base = times["bare Qt window"]
    print(heading)
    print(f"{'':24} {'lower quartile':>16} {'median':>10}   ratio (q1, median)")
    for name, _ in commands:
        t = times[name]
        print(f"{name:24} {q1(t)*1000:13.1f} ms {statistics.median(t)*1000:7.1f} ms"
              f"   {q1(t)/q1(base):.2f}  {statistics.median(t)/statistics.median(base):.2f}")
print(f"{runs} alternating runs each")
table("From start to the first paint:", paint)
table("The whole process, exit included:", whole)
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
