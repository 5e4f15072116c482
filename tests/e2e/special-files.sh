#!/usr/bin/env bash
# Special files are refused before anything is read from them: a named pipe
# never makes the tool wait, a device or a file over 1 GiB is never read into
# memory. Each ends in the error box (closed with Return), a message on stderr
# naming the file and the reason, a non-zero exit status, no main window, and
# the file as it was.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

mkfifo "$WORK/pipe.sla"
ln -s /dev/zero "$WORK/zero.sla"
mkdir "$WORK/folder.sla"
truncate -s $(((1 << 30) + 1)) "$WORK/huge.sla" # sparse: no disk space used
declare -A REASON=(
    [pipe]="it is a named pipe (FIFO), not a file"
    [zero]="it is a device, not a file"
    [folder]="it is a folder, not a file"
    [huge]="it is 1.1 GiB, larger than 1 GiB, the largest document that can be opened"
)

describe() { stat -c '%F %s %Y' "$1"; }

watch_main_window
for name in pipe zero folder huge; do
    file="$WORK/$name.sla"
    before=$(describe "$file")
    start_tool "$file"
    answer_message_box
    wait_exit
    [ "$STATUS" != 0 ] || fail "$name: the tool ended with status 0"
    grep -qF "quarvel: Cannot open \"$file\": ${REASON[$name]}." "$WORK/tool.err" ||
        fail "$name: stderr does not give the reason: $(cat "$WORK/tool.err")"
    [ "$(describe "$file")" = "$before" ] || fail "$name: the file changed"
    echo "$name: $(head -n 1 "$WORK/tool.err")"
done
[ "$(readlink "$WORK/zero.sla")" = /dev/zero ] || fail "the link changed"
stop_watch
! main_window_seen || fail "the main window was shown for a special file"
echo PASS
