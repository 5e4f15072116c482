#!/usr/bin/env bash
# Without a document the tool shows only its message box: captioned
# "Quarvel 0-3", closed with Return, exit status 0, and no main window.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

watch_main_window
# shellcheck disable=SC2119 # no arguments at all
start_tool
box=$(x_wait_window '^Quarvel 0-3$' "$WAIT_SECONDS") || fail "no message box appeared"
xdotool getwindowname "$box" | grep -qx 'Quarvel 0-3' || fail "the box has another caption"
xdotool key Return
wait_exit
stop_watch
[ "$STATUS" = 0 ] || fail "the tool ended with status $STATUS after OK"
! main_window_seen || fail "the main window was shown"
if [ -s "$WORK/tool.err" ]; then fail "the tool wrote to stderr"; fi
echo PASS
