#!/usr/bin/env bash
# Takes a picture of the tool's window without a desktop: builds if needed,
# starts the tool on a copy of samples/sheet.sla under a private X server and
# writes the window, cropped to its 820 x 558 pixels, as PNG.
#
#   scripts/screenshot.sh [OUT.png]      (default: <build dir>/screenshot.png)
#
# The build dir is ./build, or $QUARVEL_BUILD_DIR. Needs Xvfb, xdotool and
# ImageMagick (scripts/install-deps.sh installs them). Also checks that the
# window's bottom row is the skin frame's bottom edge, not the skin's last row,
# which lies outside the window.
set -euo pipefail
# A path given is taken from where the script was started.
out=${1:+$(realpath -m -- "$1")}
cd "$(dirname "$0")/.."

build_dir=${QUARVEL_BUILD_DIR:-build}
out=${out:-$build_dir/screenshot.png}
readonly width=820 height=558 wait_seconds=30

die() {
    echo "screenshot: $*" >&2
    exit 1
}

for tool in Xvfb xdotool import convert compare; do
    command -v "$tool" >/dev/null || die "$tool is missing; run scripts/install-deps.sh"
done

if [ ! -f "$build_dir/CMakeCache.txt" ]; then
    cmake -S . -B "$build_dir" >/dev/null
fi
cmake --build "$build_dir" -j 2 --target quarvel artwork_preview >/dev/null

# shellcheck source=scripts/lib/xvfb.sh
. scripts/lib/xvfb.sh

xvfb_session

# A free display, a fixed 1280x800 screen, 96 dpi and no scaling.
xvfb_start "$WORK" || die "no X server"

cp samples/sheet.sla "$WORK/sheet.sla"
"$build_dir/quarvel" "$WORK/sheet.sla" >"$WORK/tool.log" 2>&1 &
TOOL_PID=$!

window_id=$(x_wait_window '^Quarvel$' "$wait_seconds") ||
    die "the window did not appear; the tool said: $(cat "$WORK/tool.log")"

geometry=$(xdotool getwindowgeometry --shell "$window_id")
field() { sed -n "s/^$1=//p" <<<"$geometry"; }
[ "$(field WIDTH)x$(field HEIGHT)" = "${width}x${height}" ] ||
    die "the window is $(field WIDTH)x$(field HEIGHT), not ${width}x${height}"
crop="${width}x${height}+$(field X)+$(field Y)"

# Mapped is not yet painted: take shots until two in a row agree.
capture() { import -window root -crop "$crop" +repage "$1"; }
differing_pixels() { compare -metric AE "$1" "$2" null: 2>&1 || true; }
capture "$WORK/shot.png"
settled=false
for _ in $(seq 50); do
    sleep 0.2
    capture "$WORK/again.png"
    if [ "$(differing_pixels "$WORK/shot.png" "$WORK/again.png")" = "0" ]; then
        settled=true
        break
    fi
    mv "$WORK/again.png" "$WORK/shot.png"
done
"$settled" || die "the window did not stop changing"

# The bottom row must be the skin's row 557 (the frame's edge); its row 558
# lies outside the window and must never show.
QT_QPA_PLATFORM=offscreen "$build_dir/artwork_preview" "$WORK/artwork" >/dev/null
row() { convert "$1" -crop "${width}x1+0+$2" +repage "$3"; }
row "$WORK/shot.png" $((height - 1)) "$WORK/bottom.png"
row "$WORK/artwork/skin.png" $((height - 1)) "$WORK/skin-edge.png"
row "$WORK/artwork/skin.png" "$height" "$WORK/skin-last.png"
[ "$(differing_pixels "$WORK/bottom.png" "$WORK/skin-edge.png")" = "0" ] ||
    die "the window's bottom row is not the frame's bottom edge"
[ "$(differing_pixels "$WORK/bottom.png" "$WORK/skin-last.png")" != "0" ] ||
    die "the skin's last row shows at the bottom of the window"

mkdir -p "$(dirname "$out")"
cp "$WORK/shot.png" "$out"
echo "Window ${width}x${height} at $(field X),$(field Y) written to $out"
