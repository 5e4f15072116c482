#!/usr/bin/env bash
# The window under Wine is the Linux window: at start its screenshot matches
# the Linux one within a tolerance (the difference picture is kept on
# failure); a move onto Reflect Page lights its face and a move back onto the
# background dims it; Forget ends the tool with status 0 and the document as
# it was.
source "$(dirname "$0")/e2e.sh"

host_load "$E2E_DIR/sheet.txt"
host_dump >"$WORK/before.txt"
start_tool
wait_main_window

point_at background
x_settled_shot "$MAIN" "$WORK/start.png"
matches_linux "$WORK/start.png" windows-start linux-start

point_at bReflect
shot_until lit "moving onto Reflect Page did not light its face" lit bReflect
only_in "$WORK/start.png" bReflect "$WORK/lit.png" || fail "more than the Reflect face changed"
point_at background
shot_until dim "moving back onto the background did not dim the face" same_as "$WORK/start.png"

click_on bForget
wait_exit
[ "$STATUS" = 0 ] || fail "Forget ended with status $STATUS"
host_dump >"$WORK/after.txt"
diff -u "$WORK/before.txt" "$WORK/after.txt" || fail "Forget changed the document"
echo "PASS"
