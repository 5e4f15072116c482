#!/usr/bin/env bash
# With no document open in the host, the tool shows exactly "Please open a
# publication and try again." in a box captioned "Quarvel 0-3" with one OK
# button and no icon, never shows its window, asks the host nothing more, and
# ends with status 0 once the box is answered.
source "$(dirname "$0")/e2e.sh"

: >"$WORK/empty.txt"
host_load "$WORK/empty.txt"
start_tool
read_message_box >"$WORK/box.txt"
x_wait_window '^Quarvel$' 1 >/dev/null && fail "the main window is shown"
diff -u - <(grep -v '^rect=' "$WORK/box.txt") <<'EXPECTED' || fail "not the expected message box"
caption=Quarvel 0-3
text=Please open a publication and try again.
buttons=[OK]
icon=no
main=hidden
EXPECTED
box=$(x_wait_window '^Quarvel 0-3$' 10) || fail "the box is not on the screen"
x_shot "$box" "$PICTURES/windows-no-document.png"
read_message_box --press-ok >/dev/null
wait_exit
[ "$STATUS" = 0 ] || fail "the tool ended with status $STATUS"
diff -u - <(host_calls) <<'EXPECTED' || fail "the tool asked the host more than the documents"
app.docs
docs.Count
EXPECTED
echo "PASS"
