#!/usr/bin/env bash
# The keys on the real window: Return (and the keypad's Enter) does nothing;
# KEY (Escape or alt+F4, the window manager's close key, which without one
# reaches the window itself) ends the tool as Forget does, with status 0 and
# the document byte for byte as it was.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
key=$ARGUMENT

start_tool "$SHEET"
wait_main_window
xdotool windowfocus --sync "$MAIN" 2>/dev/null || true
xdotool key Return KP_Enter
sleep 1
kill -0 "$TOOL_PID" 2>/dev/null || fail "Return ended the tool"
cmp -s "$SAMPLE" "$SHEET" || fail "Return changed the document"

xdotool key "$key"
wait_exit
[ "$STATUS" = 0 ] || fail "$key ended the tool with status $STATUS"
cmp -s "$SAMPLE" "$SHEET" || fail "$key changed the document"
echo PASS
