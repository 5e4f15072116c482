#!/usr/bin/env bash
# A current host (the test host's "current" profile): its rulers' zero point
# moved off the page's corner and its angles negative where it reports them
# so. Reflect Page writes the same back side as for 2.0's report of the
# sheet, turned left-right and then top-bottom, each read back from the host.
# Then quarvel.exe --host pins the host, and a name that is not installed or
# a wrong command line are reported.
source "$(dirname "$0")/e2e.sh"

[ "${QUARVEL_TEST_HOST_PROFILE:-}" = current ] || fail "run this with QUARVEL_TEST_HOST_PROFILE=current"

reflect_with_zero_point() {
  host_load "$E2E_DIR/sheet-current.txt"
  host_zero_point 30.5 -120.25
  start_tool "$@"
  wait_main_window
}

back_side() {
  host_dump >"$WORK/after.txt"
  [ "$(page_count "$WORK/after.txt")" = 2 ] || fail "the document has not two pages: $(cat "$WORK/after.txt")"
  diff -u <(rectangles "$WORK/after.txt" 1) <(rectangles "$E2E_DIR/sheet.txt" 1) ||
    fail "the front page changed"
  rectangles "$WORK/after.txt" 2
}

reflect_with_zero_point
click_on bReflect
wait_exit
[ "$STATUS" = 0 ] || fail "Reflect ended with status $STATUS"
diff -u - <(back_side) <<'EXPECTED' || fail "the back page is not the left-right back side"
50 750 350 950 0
50 550 350 750 180
50 250 250 550 270
250 250 450 550 90
50 50 350 250 0
350 50 650 250 180
EXPECTED
grep -q "^ *line spine' 460 550 650 550 270" "$WORK/after.txt" || fail "the lines were not mirrored"

# Pinned to the current host's own name.
reflect_with_zero_point --host InDesign.Application.2025
click_on Image3
point_at background
sleep 1
click_on bReflect
wait_exit
[ "$STATUS" = 0 ] || fail "Reflect ended with status $STATUS"
diff -u - <(back_side) <<'EXPECTED' || fail "the back page is not the top-bottom back side"
350 50 650 250 180
350 250 650 450 0
450 450 650 750 90
250 450 450 750 270
350 750 650 950 180
50 750 350 950 0
EXPECTED

# A name that is not installed: the report names it, and the host is untouched.
host_load "$E2E_DIR/sheet-current.txt"
start_tool --host InDesign.Application.CS9
read_message_box --press-ok >"$WORK/box.txt"
grep -q 'Cannot connect to "InDesign.Application.CS9": it is not installed' "$WORK/box.txt" ||
  fail "the report does not name the host: $(cat "$WORK/box.txt")"
wait_exit
[ "$STATUS" = 1 ] || fail "the tool ended with status $STATUS, not 1"
[ "$(page_count <(host_dump))" = 1 ] || fail "the document changed"

# Any other command line is a mistake, with the usage.
start_tool --page 2
read_message_box --press-ok >"$WORK/box.txt"
grep -q 'Usage: quarvel.exe \[--host PROGID\]' "$WORK/box.txt" || fail "no usage: $(cat "$WORK/box.txt")"
wait_exit
[ "$STATUS" = 2 ] || fail "the tool ended with status $STATUS, not 2"
echo "PASS"
