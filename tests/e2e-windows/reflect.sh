#!/usr/bin/env bash
# Reflect Page writes the back side of the typical sheet, turned left-right,
# into the host's document as a new page (read back from the test host), and
# the tool ends with status 0.
source "$(dirname "$0")/e2e.sh"

host_load "$E2E_DIR/sheet.txt"
start_tool
wait_main_window
click_on bReflect
wait_exit
[ "$STATUS" = 0 ] || fail "Reflect ended with status $STATUS"
x_wait_window '^Quarvel$' 1 >/dev/null && fail "the window is still shown"

host_dump >"$WORK/after.txt"
[ "$(page_count "$WORK/after.txt")" = 2 ] || fail "the document has not two pages: $(cat "$WORK/after.txt")"
diff -u <(rectangles "$WORK/after.txt" 1) <(rectangles "$E2E_DIR/sheet.txt" 1) ||
  fail "the front page changed"
diff -u - <(rectangles "$WORK/after.txt" 2) <<'EXPECTED' || fail "the back page is not the left-right back side"
50 750 350 950 0
50 550 350 750 180
50 250 250 550 270
250 250 450 550 90
50 50 350 250 0
350 50 650 250 180
EXPECTED
grep -q "^ *line spine' 460 550 650 550 270" "$WORK/after.txt" || fail "the lines were not mirrored"
echo "PASS"
