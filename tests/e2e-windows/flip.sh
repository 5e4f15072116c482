#!/usr/bin/env bash
# A click on the vertical arrow turns the sheet top-bottom: only the back
# preview and the arrows change, and the window matches the Linux window
# after the same click; a second click changes nothing. Reflect Page then
# writes the top-bottom back side and ends with status 0.
source "$(dirname "$0")/e2e.sh"

host_load "$E2E_DIR/sheet.txt"
start_tool
wait_main_window
point_at background
x_settled_shot "$MAIN" "$WORK/start.png"

click_on Image3
point_at background
shot_until flipped "the click on the vertical arrow changed nothing" differs_in "$WORK/start.png" back
x_settled_shot "$MAIN" "$WORK/flipped.png"
[ "$(differing "$WORK/start.png" "$WORK/flipped.png" "${PLACE[front]}")" = 0 ] ||
  fail "the front preview changed"
matches_linux "$WORK/flipped.png" windows-top-bottom linux-top-bottom

click_on Image3
point_at background
sleep 1
x_settled_shot "$MAIN" "$WORK/again.png"
same_as "$WORK/flipped.png" "$WORK/again.png" || fail "a second click on the vertical arrow changed the window"

click_on bReflect
wait_exit
[ "$STATUS" = 0 ] || fail "Reflect ended with status $STATUS"
host_dump >"$WORK/after.txt"
[ "$(page_count "$WORK/after.txt")" = 2 ] || fail "the document has not two pages: $(cat "$WORK/after.txt")"
diff -u - <(rectangles "$WORK/after.txt" 2) <<'EXPECTED' || fail "the back page is not the top-bottom back side"
350 50 650 250 180
350 250 650 450 0
450 450 650 750 90
250 450 450 750 270
350 750 650 950 180
50 750 350 950 0
EXPECTED
echo "PASS"
