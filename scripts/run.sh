#!/usr/bin/env bash
# Installs what is missing, builds the tool, and runs it on a scratch copy of the
# bundled sample sheet (<build dir>/run/sheet.sla; samples/sheet.sla itself
# never changes). With arguments, runs the tool on those instead.
#
# Without a display (DISPLAY and WAYLAND_DISPLAY unset) it runs the tool on a
# private X server instead: a screenshot of the window, a click on the vertical
# arrow (turn top-bottom), another screenshot, a click on Reflect Page; then it
# prints where the pictures and the document are, and the back page's rectangles.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
build_dir=${QUARVEL_BUILD_DIR:-build}
# Only what the run needs: the tool, and the two small tools the headless run
# reads the design's places and the written page with (not the tests, the
# benchmarks or their floors: scripts/build.sh builds everything).
cmake -S . -B "$build_dir" >/dev/null
cmake --build "$build_dir" -j "$(nproc)" --target quarvel quarvel_design quarvel_pagelist
run_dir="$build_dir/run"
sheet="$run_dir/sheet.sla"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    if [ $# -gt 0 ]; then
        exec "$build_dir/quarvel" "$@"
    fi
    mkdir -p "$run_dir"
    cp samples/sheet.sla "$sheet"
    echo "Opening $sheet, a scratch copy of samples/sheet.sla"
    exec "$build_dir/quarvel" "$sheet"
fi

die() {
    echo "run.sh: $*" >&2
    exit 1
}
[ $# -eq 0 ] || die "no display: the headless run works on the bundled sample only"

# shellcheck source=scripts/lib/xvfb.sh
source scripts/lib/xvfb.sh
xvfb_session

echo "No display: running the tool headless on a private X server (Xvfb)."
xvfb_start "$WORK"
mkdir -p "$run_dir"
cp samples/sheet.sla "$sheet"
before="$run_dir/1-left-right.png"
after="$run_dir/2-top-bottom.png"
rm -f "$before" "$after"

"$build_dir/quarvel" "$sheet" >"$WORK/tool.log" 2>&1 &
TOOL_PID=$!
window=$(x_wait_window '^Quarvel$' 60) || die "the window did not appear: $(cat "$WORK/tool.log")"
x_settled_shot "$window" "$before"
# The centre of a control, from the window's design table.
centre_of() {
    "$build_dir/quarvel_design" | awk -v name="$1" '$1 == name { print int($2 + $4 / 2), int($3 + $5 / 2) }'
}
read -r arrow_x arrow_y < <(centre_of Image3)
read -r reflect_x reflect_y < <(centre_of bReflect)
x_click "$window" "$arrow_x" "$arrow_y" # the vertical arrow
x_move "$window" 10 300   # rest the pointer on the background
x_changed_shot "$window" "$before" "$after" || die "the click on the vertical arrow showed nothing"
x_settled_shot "$window" "$after"
x_click "$window" "$reflect_x" "$reflect_y" # Reflect Page
status=0
wait_pid "$TOOL_PID" 60 || status=$?
[ "$status" = 124 ] && die "the tool did not end after Reflect Page: $(cat "$WORK/tool.log")"
TOOL_PID=""
[ "$status" = 0 ] || die "the tool ended with status $status: $(cat "$WORK/tool.log")"

listing=$("$build_dir/quarvel_pagelist" "$sheet" 2) || die "cannot read the result back"
pages=$(awk '$1 == "pages" { print $2 }' <<<"$listing")
echo
echo "Screenshots:  $(realpath "$before")  (at start: left-right)"
echo "              $(realpath "$after")  (after a click on the vertical arrow: top-bottom)"
echo "Document:     $(realpath "$sheet")  ($pages pages; page $pages is the back side)"
echo
echo "Back page rectangles, in points from the page's top-left corner:"
awk '$1 == "Rectangle" {
        if (!header++) printf "  %4s  %8s %8s %8s %8s  %6s\n", "page", "top", "left", "bottom", "right", "angle"
        printf "  %4d  %8g %8g %8g %8g  %6g\n", 2 * header, $2, $3, $4, $5, $6
    }' <<<"$listing"
