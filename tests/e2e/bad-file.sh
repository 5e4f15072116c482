#!/usr/bin/env bash
# Files that cannot be opened stop the tool before its window: a message on
# stderr naming the file, the error box (closed with Return), a non-zero exit
# status, and the file unchanged.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

printf 'this is not a Scribus document\n' >"$WORK/not-xml.sla"
printf '<?xml version="1.0"?>\n<html><body/></html>\n' >"$WORK/not-scribus.sla"
# The sample cut off in the middle of an element.
head -c 1500 "$SAMPLE" >"$WORK/truncated.sla"

watch_main_window
for name in not-xml not-scribus truncated; do
    file="$WORK/$name.sla"
    cp "$file" "$WORK/before.sla"
    start_tool "$file"
    answer_message_box
    wait_exit
    [ "$STATUS" != 0 ] || fail "$name: the tool ended with status 0"
    grep -q "^quarvel: .*$name.sla" "$WORK/tool.err" ||
        fail "$name: stderr does not name the file: $(cat "$WORK/tool.err")"
    cmp -s "$file" "$WORK/before.sla" || fail "$name: the file changed"
    echo "$name: $(head -n 1 "$WORK/tool.err")"
done
stop_watch
! main_window_seen || fail "the main window was shown for a bad file"
echo PASS
