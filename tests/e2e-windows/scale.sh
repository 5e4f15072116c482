#!/usr/bin/env bash
# quarvel.exe on a monitor of DPI dots per inch (Wine's LogPixels; the eighth
# argument), ended with KEY (the ninth: Escape or alt+F4):
# - its client area is the design's 820 x 558 times DPI / 96 (within a pixel),
#   and it has a taskbar button of its own;
# - at start it matches the Linux window at the same scale (QT_SCALE_FACTOR,
#   docs/screenshots/linux-start-PERCENT.png) as closely as at 100 % (at
#   most 1 % of the pixels differ by more than 10 %; 0.84 % at 100 % here);
# - at the scaled places of the controls, a move lights Reflect Page, the
#   arrows flip the back preview and back again, and Just Duplicate adds a
#   page;
# - a one-step drag on the background moves the window by two thirds of the
#   pointer's movement, as at 100 % (10 twips to a window unit of pointer
#   movement, 15 to a window unit of the window's place);
# - Return does nothing, and KEY ends the tool with status 0 and the host as
#   it was.
# A screen that holds the window whole at 200 %.
XVFB_SCREEN=2048x1536x24
source "$(dirname "$0")/e2e.sh"
DPI=$8
KEY=$9
PERCENT=$((DPI * 100 / 96))

# Wine reads the scale when its processes start: set it, then start afresh.
wine_run reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$DPI" /f >/dev/null ||
  fail "cannot set LogPixels"
wineserver -k 2>/dev/null || true
timeout 60 wineserver -w 2>/dev/null || true

scaled() { awk -v v="$1" -v d="$DPI" 'BEGIN { printf "%d\n", int(v * d / 96 + 0.5) }'; }
for name in "${!PLACE[@]}"; do
  IFS='x+' read -r w h x y <<<"${PLACE[$name]}"
  PLACE[$name]=$(scaled "$w")x$(scaled "$h")+$(scaled "$x")+$(scaled "$y")
done
point_at() {
  local x y
  if [ "$1" = background ]; then
    x=$(scaled 10) y=$(scaled 300)
  else
    read -r x y < <(centre "$1")
  fi
  x_move "$MAIN" "$x" "$y"
}
within_one() { [ $(($1 - $2)) -ge -1 ] && [ $(($1 - $2)) -le 1 ]; }
geometry() { xdotool getwindowgeometry --shell "$MAIN" | grep -E "^$1=" | cut -d= -f2; }

host_load "$E2E_DIR/sheet.txt"
start_tool
MAIN=$(x_wait_window '^Quarvel$' "$WAIT_SECONDS") || fail "the tool's window did not appear"
width=$(geometry WIDTH) height=$(geometry HEIGHT)
if ! within_one "$width" "$(scaled 820)" || ! within_one "$height" "$(scaled 558)"; then
  fail "the window is $width x $height at $DPI dpi, not $(scaled 820) x $(scaled 558)"
fi
wine_run "$INSPECT" main >"$WORK/main.txt"
grep -qx 'taskbar=yes' "$WORK/main.txt" || fail "the window has no taskbar button"
point_at background
x_settled_shot "$MAIN" "$WORK/start.png" || fail "the window did not settle"

# The same size for both: the two windows may round the scaled size apart.
linux="$REFERENCE/linux-start-$PERCENT.png"
[ "$DPI" = 96 ] && linux="$REFERENCE/linux-start.png"
common=$(identify -format '%w %h\n' "$linux" "$WORK/start.png" |
  awk 'NR == 1 { w = $1; h = $2 } NR == 2 { if ($1 < w) w = $1; if ($2 < h) h = $2 }
       END { printf "%dx%d+0+0", w, h }')
convert "$linux" -crop "$common" +repage "$WORK/linux.png"
convert "$WORK/start.png" -crop "$common" +repage "$PICTURES/windows-start-$PERCENT.png"
assert_similar "$WORK/linux.png" "$PICTURES/windows-start-$PERCENT.png" \
  "$PICTURES/windows-start-$PERCENT-diff.png" 1.0 ||
  fail "at $PERCENT % the window differs from the Linux window"

point_at bReflect
shot_until lit "moving onto Reflect Page did not light its face" lit bReflect
point_at background
shot_until dim "moving back onto the background did not dim the face" same_as "$WORK/start.png"

click_on Image3
point_at background
shot_until flipped "the click on the vertical arrow changed nothing" differs_in "$WORK/start.png" back
[ "$(differing "$WORK/start.png" "$WORK/flipped.png" "${PLACE[front]}")" = 0 ] ||
  fail "the front preview changed"
click_on Image4
point_at background
shot_until back "the click on the horizontal arrow did not bring the start back" \
  same_as "$WORK/start.png"

click_on bDuplicate
point_at background
for ((tries = 0; tries < WAIT_SECONDS; tries++)); do
  host_dump >"$WORK/duplicated.txt"
  [ "$(page_count "$WORK/duplicated.txt")" = 2 ] && break
  sleep 1
done
[ "$(page_count "$WORK/duplicated.txt")" = 2 ] || fail "Just Duplicate added no page"

x=$(geometry X) y=$(geometry Y)
xdotool mousedown 1
x_move "$MAIN" "$(($(scaled 10) + 60))" "$(($(scaled 300) + 30))"
xdotool mouseup 1
sleep 1
moved_x=$(($(geometry X) - x)) moved_y=$(($(geometry Y) - y))
if ! within_one "$moved_x" 40 || ! within_one "$moved_y" 20; then
  fail "a drag of 60, 30 pixels moved the window by $moved_x, $moved_y, not 40, 20"
fi

xdotool windowfocus --sync "$MAIN" 2>/dev/null || true
xdotool key Return
sleep 1
kill -0 "$TOOL_PID" 2>/dev/null || fail "Return ended the tool"
xdotool key "$KEY"
wait_exit
[ "$STATUS" = 0 ] || fail "$KEY ended the tool with status $STATUS"
host_dump >"$WORK/after.txt"
diff -u "$WORK/duplicated.txt" "$WORK/after.txt" || fail "$KEY changed the document"
echo "PASS"
