#!/usr/bin/env bash
# A document measured in millimetres needs nothing of its own: Reflect Page
# writes its left-right back side in the same unit.
source "$(dirname "$0")/e2e.sh"

host_load "$E2E_DIR/sheet-mm.txt"
start_tool
wait_main_window
click_on bReflect
wait_exit
[ "$STATUS" = 0 ] || fail "Reflect ended with status $STATUS"
host_dump >"$WORK/after.txt"
[ "$(page_count "$WORK/after.txt")" = 2 ] || fail "the document has not two pages: $(cat "$WORK/after.txt")"
diff -u - <(rectangles "$WORK/after.txt" 2) <<'EXPECTED' || fail "the back page is not the left-right back side"
10 227.5 150.5 437.5 270
160 227.5 300.5 437.5 90
10 7.5 150.5 217.5 0
160 7.5 300.5 217.5 180
EXPECTED
grep -q "^ *line fold' 155.25 5 155.25 445" "$WORK/after.txt" || fail "the fold line moved: $(cat "$WORK/after.txt")"
echo "PASS"
