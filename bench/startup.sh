#!/usr/bin/env bash
# Time from process start to the first paint of the index viewer on a full
# listing (256 elements, 51 categories) and of the editor, beside a bare Qt
# window that only opens and paints, in the same run, with each as a ratio.
# All quit right after their first paint (VITRANDEL_QUIT_AFTER_FIRST_PAINT=1). Runs under Xvfb when xvfb-run is there,
# otherwise on Qt's offscreen platform; uses hyperfine when installed,
# otherwise a plain loop.
# Usage: bench/startup.sh [build-folder] [runs]   (defaults: build, 30)
set -euo pipefail

measure() {
  if command -v hyperfine >/dev/null; then
    local json
    json=$(mktemp)
    hyperfine -N --warmup 3 --runs "$runs" --export-json "$json" \
      --command-name "bare Qt window" "$bare" \
      --command-name "viewer, 256 elements" "$vitrandel $listing" \
      --command-name "editor" "$vitrandel"
    ratios "$json"
    rm -f "$json"
  else
    for name in "bare Qt window" "viewer, 256 elements" "editor"; do
      total=0
      for _ in $(seq 1 "$runs"); do
        start=$(date +%s%N)
        case $name in
          bare*) "$bare" ;;
          viewer*) "$vitrandel" "$listing" ;;
          *) "$vitrandel" ;;
        esac >/dev/null 2>&1
        total=$(( total + $(date +%s%N) - start ))
      done
      echo "$name: mean $(( total / runs / 1000 )) µs over $runs runs"
    done
  fi
}

# Each face beside the bare window: lower quartile and median of the runs, as
# ratios (1.00 is the bare window's time).
ratios() {
  python3 - "$1" <<'PY'
import json, statistics, sys
results = json.load(open(sys.argv[1]))["results"]
def q1(times): return statistics.quantiles(times, n=4)[0]
bare = results[0]["times"]
print(f"{'':24} {'lower quartile':>16} {'median':>10}   ratio (q1, median)")
for r in results:
    t = r["times"]
    print(f"{r['command']:24} {q1(t)*1000:13.1f} ms {statistics.median(t)*1000:7.1f} ms"
          f"   {q1(t)/q1(bare):.2f}  {statistics.median(t)/statistics.median(bare):.2f}")
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
