#!/usr/bin/env bash
# Builds Quarvel and its benchmark in Release and prints the benchmark table:
# start-up to first paint under a private Xvfb next to a plain window with a picture,
# in-process handler times over the in-memory host, host calls, the .sla host's
# open, capture, Reflect and save, and peak memory, each next to its floor (the
# programs in bench/floor/), for sheets of 6, 64, 1,000 and 32,735 rectangles
# and for a sheet of 64 on the last of 50 pages beside 100,000 text frames.
#
#   bench/run.sh [--runs N] [--sizes 6,64,...]
#
# QUARVEL_BENCH_BUILD_DIR (default build-bench) and QUARVEL_BENCH_JOBS (default
# 2) choose the build folder and its parallel jobs.
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${QUARVEL_BENCH_BUILD_DIR:-build-bench}
jobs=${QUARVEL_BENCH_JOBS:-2}

scripts/install-deps.sh
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build_dir" -j "$jobs" --target quarvel quarvel_bench quarvel_floor_opensave \
    quarvel_floor_copypage >/dev/null

work=$(mktemp -d)
xvfb_pid=""
cleanup() {
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

# A private X server; it writes its display number once it is ready. It must not
# reset when its last client leaves: the next one would find no display.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 300); do
    [ -s "$work/display" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || { cat "$work/xvfb.log" >&2; exit 1; }
    sleep 0.1
done
[ -s "$work/display" ] || { echo "Xvfb reported no display" >&2; exit 1; }

DISPLAY=":$(head -n 1 "$work/display")"
export DISPLAY
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset WAYLAND_DISPLAY QT_FONT_DPI QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_QPA_PLATFORMTHEME
export QT_QPA_PLATFORM=xcb QT_ENABLE_HIGHDPI_SCALING=0

echo "machine: $(nproc) cores; $(uptime)" >&2
if ! "$build_dir/bench/quarvel_bench" table --quarvel "$build_dir/quarvel" --sample samples/sheet.sla \
    --work "$work" "$@"; then
    echo "--- children's log ---" >&2
    tail -n 40 "$work/children.log" >&2 || true
    exit 1
fi
echo "after the run: $(uptime)"
