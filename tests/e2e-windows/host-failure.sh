#!/usr/bin/env bash
# A host call that fails while the tool starts ends it with the error report
# (a box captioned "Quarvel 0-3" naming the failure, the same words on
# standard error) and a non-zero status; the window is never shown.
source "$(dirname "$0")/e2e.sh"

host_load "$E2E_DIR/sheet.txt"
host_fail_on spread1.pits 1
start_tool
read_message_box >"$WORK/box.txt"
grep -q '^buttons=\[OK\]$' "$WORK/box.txt" || fail "the report has not one OK button: $(cat "$WORK/box.txt")"
text=$(sed -n 's/^text=//p' "$WORK/box.txt")
[ -n "$text" ] || fail "the report says nothing"
grep -q '^main=visible' "$WORK/box.txt" && fail "the main window is shown"
read_message_box --press-ok >/dev/null
wait_exit
[ "$STATUS" != 0 ] || fail "the tool ended with status 0 after a host failure"
grep -qF "$text" "$WORK/tool.log" || fail "standard error does not carry the report \"$text\""
echo "report: $text"
echo "PASS"
