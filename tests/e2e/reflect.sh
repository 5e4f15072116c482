#!/usr/bin/env bash
# Reflect in one direction (ARGUMENT: left-right, or top-bottom after a click
# on the vertical arrow), then the saved file, loaded again, holds a new last
# page whose rectangles sit at the mirrored boxes and angles of page 1's, and
# page 1 as it was.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

case "$ARGUMENT" in
left-right | top-bottom) ;;
*) fail "unknown direction '$ARGUMENT'" ;;
esac

start_tool "$SHEET"
wait_main_window
if [ "$ARGUMENT" = top-bottom ]; then
    x_shot "$MAIN" "$WORK/start.png"
    click_on Image3
    point_at background
    shot_until flipped "the vertical arrow did not turn the back preview" \
        differs_in "$WORK/start.png" back
fi
click_on bReflect
wait_exit
[ "$STATUS" = 0 ] || fail "Reflect ended the tool with status $STATUS"

[ "$(page_count "$SHEET")" = 2 ] || fail "the document has $(page_count "$SHEET") pages, not 2"
front=$(rectangles "$SAMPLE" 1)
[ "$(rectangles "$SHEET" 1)" = "$front" ] || fail "page 1 changed"
[ "$(wc -l <<<"$front")" = 6 ] || fail "the sample does not hold six rectangles"
read -r _ width height < <("$PAGELIST" "$SHEET" 1 | grep '^size ')
# Items other than rectangles are copied too, in the same order.
[ "$("$PAGELIST" "$SHEET" 2 | awk 'NR > 2 { print $1 }')" = \
    "$("$PAGELIST" "$SHEET" 1 | awk 'NR > 2 { print $1 }')" ] ||
    fail "the new page does not hold the same kinds of items as page 1"

# Expected back rectangles, computed here from page 1's by the mirror rules,
# checked against what the saved file holds.
mirrored "$front" "$(rectangles "$SHEET" 2)" "$ARGUMENT" "$width" "$height" ||
    fail "the new page's rectangles are not mirrored $ARGUMENT"
[ "$(rectangles "$SHEET" 2 | wc -l)" = 6 ] || fail "the new page does not hold six rectangles"
echo PASS
