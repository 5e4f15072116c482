#!/usr/bin/env bash
# Start-up of the Windows window under Wine on a private Xvfb: for a bare
# skinned Win32 window and for the tool's window over the in-memory host at
# 64 and 1,000 rectangles, the times inside the process (from its creation to
# the load event done, the window shown, the first paint done) and as a user
# sees it (from `wine` to the window mapped on the X server), with the peak
# working set. Then quarvel.exe itself against the test host over COM, as a
# user sees it: from `wine` to the window mapped and to its screen settled.
# Medians of N runs (default 5).
#
#   bench/run-windows.sh [--runs N] [--sizes 64,1000]
#
# Builds quarvel_bench_win32 in build-windows/ (QUARVEL_WINDOWS_BUILD_DIR)
# first; its Wine prefix lives there too.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=5
sizes=64,1000
while [ $# -gt 0 ]; do
  case $1 in
  --runs) runs=$2; shift 2 ;;
  --sizes) sizes=$2; shift 2 ;;
  *) echo "usage: $0 [--runs N] [--sizes 64,1000]" >&2; exit 2 ;;
  esac
done

build_dir=${QUARVEL_WINDOWS_BUILD_DIR:-build-windows}
cmake --build "$build_dir" --target quarvel_bench_win32 -j 2 >/dev/null
# quarvel.exe and the test host come with the automation adapter (host/com).
with_com=yes
cmake --build "$build_dir" --target quarvel quarvel_test_host quarvel_host_control -j 2 \
  >/dev/null 2>&1 || with_com=no
bench="$(cd "$build_dir" && pwd)/quarvel_bench_win32.exe"
prefix="$(cd "$build_dir" && pwd)/wine-bench"

# shellcheck source=../tests/e2e-windows/lib.sh
source tests/e2e-windows/lib.sh
wine_boot "$prefix"
wine_session "$prefix"
wineserver -p # one server for every run: the figures leave out its start

median() {
  sort -n | awk '{ v[NR] = $1 } END { printf "%.0f", (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
field() { sed -n "s/.*$1=\([0-9.]*\).*/\1/p" "$2"; }

# One run: the process's own line, and the wall time until its window is mapped.
run_once() {
  local out=$1
  shift
  local start end id
  start=$(date +%s.%N)
  timeout 120 wine "$bench" "$@" 1500 </dev/null >"$out.log" 2>&1 &
  local pid=$!
  id=$(x_wait_window '^Quarvel$' 60) || { echo "no window for $*" >&2; cat "$out.log" >&2; return 1; }
  end=$(date +%s.%N)
  wait "$pid"
  grep -h 'visible_ms=' "$out.log" >>"$out"
  awk -v s="$start" -v e="$end" 'BEGIN { printf "wall_ms=%.0f\n", (e - s) * 1000 }' >>"$out.wall"
  : "$id"
}

row() {
  local label=$1 rectangles=$2
  shift 2
  local out="$WORK/$label"
  : >"$out"
  : >"$out.wall"
  for ((i = 0; i < runs; i++)); do run_once "$out" "$@"; done
  printf '| %-22s | %10s | %9s | %10s | %14s | %16s | %8.1f |\n' "$label" "$rectangles" \
    "$(field loaded_ms "$out" | median)" "$(field visible_ms "$out" | median)" \
    "$(field painted_ms "$out" | median)" "$(field wall_ms "$out.wall" | median)" \
    "$(field peak_kib "$out" | sort -n | tail -n 1 | awk '{ print $1 / 1024 }')"
}

# A first run that is not counted: Wine loads its DLLs from disk only once.
run_once "$WORK/warm-up" floor
echo "machine: $(nproc) cores; $(uptime)"
echo "Wine $(wine --version 2>/dev/null); medians of $runs runs; ms from process creation"
echo
echo '| window                 | rectangles | loaded ms | visible ms | first paint ms | wine → mapped ms | peak MiB |'
echo '|------------------------|-----------:|----------:|-----------:|---------------:|-----------------:|---------:|'
row "bare skinned window" "–" floor
IFS=, read -r -a size_list <<<"$sizes"
for size in "${size_list[@]}"; do
  row "Quarvel (memory host)" "$size" tool "$size"
done

if [ "$with_com" = no ]; then
  echo
  echo "quarvel.exe is not in this build (no automation adapter): no rows for it."
  exit 0
fi

# quarvel.exe against the test host: a grid sheet of N rectangles, loaded
# through the host's control object; Forget ends each run.
build_abs=$(cd "$build_dir" && pwd)
wine_run "$build_abs/tests/com-server/quarvel_test_host.exe" /regserver >/dev/null
grid_sheet() {
  awk -v n="$1" 'BEGIN {
    print "document 1000 700"; print "spread"; print "page"
    cols = int(sqrt(n * 1000 / 700)); if (cols * cols < n * 1000 / 700) cols++
    rows = int((n + cols - 1) / cols); w = 1000 / cols; h = 700 / rows
    for (i = 0; i < n; i++) {
      c = i % cols; r = int(i / cols)
      printf "rectangle r%d %g %g %g %g %d\n", i, r * h + 1, c * w + 1, (r + 1) * h - 1, (c + 1) * w - 1, (i % 4) * 90
    } }'
}
forget_at() { awk '$1 == "bForget" { print $2 + $4 / 2, $3 + $5 / 2 }' "$build_abs/tests/e2e-windows/design-places.txt"; }
tool_row() {
  local rectangles=$1 out="$WORK/quarvel-$1" start mapped settled id i x y
  grid_sheet "$rectangles" >"$WORK/sheet-$rectangles.txt"
  : >"$out.mapped"
  : >"$out.settled"
  read -r x y < <(forget_at)
  for ((i = 0; i < runs; i++)); do
    wine_run "$build_abs/quarvel_host_control.exe" load "$WORK/sheet-$rectangles.txt" >/dev/null
    start=$(date +%s.%N)
    timeout 120 wine "$build_abs/quarvel.exe" </dev/null >"$out.log" 2>&1 &
    local pid=$!
    id=$(x_wait_window '^Quarvel$' 90) || { echo "no window" >&2; cat "$out.log" >&2; return 1; }
    mapped=$(date +%s.%N)
    x_settled_shot "$id" "$WORK/settled.png"
    settled=$(date +%s.%N)
    x_click "$id" "$x" "$y"
    wait "$pid"
    awk -v s="$start" -v e="$mapped" 'BEGIN { printf "wall_ms=%.0f\n", (e - s) * 1000 }' >>"$out.mapped"
    awk -v s="$start" -v e="$settled" 'BEGIN { printf "wall_ms=%.0f\n", (e - s) * 1000 }' >>"$out.settled"
  done
  printf '| %-22s | %10s | %16s | %18s |\n' "quarvel.exe (COM)" "$rectangles" \
    "$(field wall_ms "$out.mapped" | median)" "$(field wall_ms "$out.settled" | median)"
}
echo
echo "quarvel.exe against the test host across processes; ms from \`wine\` (the settled"
echo "screen is found by comparing screenshots, which adds about 100 ms):"
echo
echo '| window                 | rectangles | `wine` → mapped ms | `wine` → settled ms |'
echo '|------------------------|-----------:|-------------------:|--------------------:|'
for size in "${size_list[@]}"; do
  tool_row "$size"
done
echo
echo "after the run: $(uptime)"
