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
paste -d ' ' <(echo "$front") <(rectangles "$SHEET" 2) | awk -v direction="$ARGUMENT" \
    -v W="$width" -v H="$height" '
    function reflect(a) {
        if (direction == "left-right") return (a > 0 && a < 360 && a != 180) ? 360 - a : a
        if (a == 0 || a == 180) return 180 - a
        return (a == 90 || a == 270) ? a : 360 - a
    }
    function near(a, b) { return (a - b < 1e-6 && b - a < 1e-6) }
    {
        if (direction == "left-right") { t = $1; l = W - $4; b = $3; r = W - $2 }
        else { t = H - $3; l = $2; b = H - $1; r = $4 }
        a = reflect($5)
        if (NF != 10 || !near($6, t) || !near($7, l) || !near($8, b) || !near($9, r) ||
            !near($10, a)) {
            printf "rectangle %d: front %s %s %s %s %s, back %s %s %s %s %s, expected %g %g %g %g %g\n",
                NR, $1, $2, $3, $4, $5, $6, $7, $8, $9, $10, t, l, b, r, a
            bad = 1
        }
    }
    END { exit bad }' >&2 || fail "the new page's rectangles are not mirrored $ARGUMENT"
[ "$(rectangles "$SHEET" 2 | wc -l)" = 6 ] || fail "the new page does not hold six rectangles"
echo PASS
