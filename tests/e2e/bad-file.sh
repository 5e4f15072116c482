#!/usr/bin/env bash
# Files that cannot be opened stop the tool before its window: a message on
# stderr naming the file and the reason, the error box (closed with Return), a
# non-zero exit status, and the file unchanged.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

printf 'this is not a Scribus document\n' >"$WORK/not-xml.sla"
printf '<?xml version="1.0"?>\n<html><body/></html>\n' >"$WORK/not-scribus.sla"
# The sample cut off in the middle of an element.
head -c 1500 "$SAMPLE" >"$WORK/truncated.sla"
# The sample as UTF-16 text, as saved by an older Scribus, and by a newer one.
iconv -f UTF-8 -t UTF-16 "$SAMPLE" >"$WORK/utf-16.sla"
sed 's/Version="1\.5\.8"/Version="1.4.6"/' "$SAMPLE" >"$WORK/scribus-1.4.sla"
sed 's/Version="1\.5\.8"/Version="1.7.0"/' "$SAMPLE" >"$WORK/scribus-1.7.sla"
# A compressed sample cut short.
gzip -c "$SAMPLE" | head -c 600 >"$WORK/short-gzip.sla"
declare -A REASON=(
    [not-xml]="it is not well-formed XML"
    [not-scribus]="it is not a Scribus document (its root element is <html>)"
    [truncated]="it is not well-formed XML"
    [utf-16]="it is stored as UTF-16 text"
    [scribus-1.4]="it was saved by Scribus 1.4.6, whose format this tool does not read; open it in Scribus 1.5 or later and save it again"
    [scribus-1.7]="it was saved by Scribus 1.7.0, which is newer than this tool"
    [short-gzip]="it is a gzip file that is cut short"
)

watch_main_window
for name in "${!REASON[@]}"; do
    file="$WORK/$name.sla"
    cp "$file" "$WORK/before.sla"
    start_tool "$file"
    answer_message_box
    wait_exit
    [ "$STATUS" != 0 ] || fail "$name: the tool ended with status 0"
    grep -qF "quarvel: Cannot open \"$file\": ${REASON[$name]}" "$WORK/tool.err" ||
        fail "$name: stderr does not name the file and the reason: $(cat "$WORK/tool.err")"
    cmp -s "$file" "$WORK/before.sla" || fail "$name: the file changed"
    echo "$name: $(head -n 1 "$WORK/tool.err")"
done
stop_watch
! main_window_seen || fail "the main window was shown for a bad file"
echo PASS
