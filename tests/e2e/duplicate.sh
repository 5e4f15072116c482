#!/usr/bin/env bash
# Duplicate twice, then Forget: the saved file holds two new pages, each a
# plain copy of page 1.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

start_tool "$SHEET"
wait_main_window
click_on bDuplicate
click_on bDuplicate
click_on bForget
wait_exit
[ "$STATUS" = 0 ] || fail "Forget ended the tool with status $STATUS"

[ "$(page_count "$SHEET")" = 3 ] || fail "the document has $(page_count "$SHEET") pages, not 3"
page1=$("$PAGELIST" "$SHEET" 1 | tail -n +3)
[ "$(rectangles "$SHEET" 1)" = "$(rectangles "$SAMPLE" 1)" ] || fail "page 1 changed"
for page in 2 3; do
    [ "$("$PAGELIST" "$SHEET" "$page" | tail -n +3)" = "$page1" ] ||
        fail "page $page is not a plain copy of page 1"
done
echo PASS
