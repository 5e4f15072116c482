#!/usr/bin/env bash
# Refreshes the screenshots in docs/screenshots/ that the README shows and
# that the Windows end-to-end tests compare against:
#   linux-start.png, linux-top-bottom.png     the Linux window (build/quarvel)
#                                             on samples/sheet.sla, at start and
#                                             after a click on the vertical arrow
#   linux-start-125.png, -150, -200           the Linux window at start at 125,
#                                             150 and 200 % (QT_SCALE_FACTOR)
#   windows-start.png, windows-top-bottom.png quarvel.exe under Wine on the same
#   windows-no-document.png                   sheet, and its no-document box
#   windows-start-150.png                     quarvel.exe at start at 150 %
# Needs both builds (scripts/build.sh, scripts/build-windows.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
out=docs/screenshots
windows_build=${QUARVEL_WINDOWS_BUILD_DIR:-build-windows}
mkdir -p "$out"

# shellcheck source=lib/xvfb.sh
source scripts/lib/xvfb.sh
xvfb_session
# Large enough for the window at 200 %.
XVFB_SCREEN=2048x1536x24 xvfb_start "$WORK"
cp samples/sheet.sla "$WORK/sheet.sla"
build/quarvel "$WORK/sheet.sla" >"$WORK/tool.log" 2>&1 &
TOOL_PID=$!
window=$(x_wait_window '^Quarvel$' 60)
declare -A place=()
while read -r name left top width height; do
  place[$name]="$((left + width / 2)) $((top + height / 2))"
done < <(build/quarvel_design)
x_move "$window" 10 300
x_settled_shot "$window" "$out/linux-start.png"
# shellcheck disable=SC2086 # "x y"
x_click "$window" ${place[Image3]}
x_move "$window" 10 300
x_changed_shot "$window" "$out/linux-start.png" "$WORK/flipped.png"
x_settled_shot "$window" "$out/linux-top-bottom.png"
# shellcheck disable=SC2086
x_click "$window" ${place[bForget]}
wait_pid "$TOOL_PID" 30 || true
TOOL_PID=""

# The Linux window at the scales the Windows window is compared at.
for percent in 125 150 200; do
  QT_SCALE_FACTOR=$(awk -v p="$percent" 'BEGIN { print p / 100 }') \
    build/quarvel "$WORK/sheet.sla" >"$WORK/tool.log" 2>&1 &
  TOOL_PID=$!
  window=$(x_wait_window '^Quarvel$' 60)
  x_move "$window" $((10 * percent / 100)) $((300 * percent / 100))
  x_settled_shot "$window" "$out/linux-start-$percent.png"
  xdotool windowfocus --sync "$window" 2>/dev/null || true
  xdotool key Escape
  wait_pid "$TOOL_PID" 30 || true
  TOOL_PID=""
done

ctest --test-dir "$windows_build" --output-on-failure \
  -R 'e2e_windows\.(window|flip|no-document|scale\.144dpi)$'
pictures="$windows_build/tests/e2e-windows/pictures"
for name in windows-start windows-top-bottom windows-no-document windows-start-150; do
  cp "$pictures/$name.png" "$out/$name.png"
done
echo "Screenshots in $out/"
