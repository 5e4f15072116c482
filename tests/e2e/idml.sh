#!/usr/bin/env bash
# The window on an InDesign package (the IDML file given after the direction):
# Reflect in one direction (ARGUMENT: left-right, or top-bottom after a click
# on the vertical arrow). The saved package keeps the format's rules as an
# independent reader sees them, has a new spread with page 2 holding as many
# rectangles as page 1, and holds the same places as the batch mode writes.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

PACKAGE=${5:?the IDML package to work on}
CHECK="$E2E_DIR/../host/idml/idml_check.py"
cp "$PACKAGE" "$WORK/sheet.idml"
cp "$PACKAGE" "$WORK/batch.idml"

start_tool "$WORK/sheet.idml"
wait_main_window
if [ "$ARGUMENT" = top-bottom ]; then
    click_on Image3
fi
click_on bReflect
wait_exit
[ "$STATUS" = 0 ] || fail "Reflect ended the tool with status $STATUS: $(cat "$WORK/tool.err")"

python3 "$CHECK" "$WORK/sheet.idml" >"$WORK/window.txt" ||
    fail "the saved package breaks the format: $(grep problem "$WORK/window.txt")"
rects() { awk -v s="$2" '$1 == "spread" { current = $2 } $1 == "rect" && current == s' "$1"; }
front=$(rects "$WORK/window.txt" 0 | wc -l)
[ "$front" -gt 0 ] || fail "the sheet holds no rectangles"
[ "$(rects "$WORK/window.txt" 1 | wc -l)" = "$front" ] ||
    fail "the new page does not hold the sheet's $front rectangles"
grep -qx 'page 2' "$WORK/window.txt" || fail "no page 2"

env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb \
    "$QUARVEL" --reflect "$ARGUMENT" "$WORK/batch.idml" >/dev/null 2>"$WORK/batch.err" ||
    fail "the batch failed: $(cat "$WORK/batch.err")"
python3 "$CHECK" "$WORK/batch.idml" >"$WORK/batch.txt" || fail "the batch's package breaks the format"
[ "$(rects "$WORK/window.txt" 1)" = "$(rects "$WORK/batch.txt" 1)" ] ||
    fail "the window and the batch placed the back side differently"
[ "$(rects "$WORK/window.txt" 1)" != "$(rects "$WORK/window.txt" 0)" ] ||
    fail "the new page was not turned"
echo PASS
