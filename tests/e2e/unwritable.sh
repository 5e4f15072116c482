#!/usr/bin/env bash
# Reflect when the document cannot be saved: an error report (stderr and the
# box, closed with Return), a non-zero exit status, the original file intact
# and no temporary file left behind. ARGUMENT chooses how the save fails:
#   read-only-file  the user may not write the document (the tool runs as an
#                   ordinary user, for permissions do not bind root)
#   file-size       the file size limit cuts the new copy off mid-write
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

user_folder
folder="$WORK/user/docs"
mkdir "$folder"
cp "$SAMPLE" "$folder/sheet.sla"
give "$folder" "$folder/sheet.sla"

case "$ARGUMENT" in
read-only-file)
    chmod a-w "$folder/sheet.sla"
    start_tool_as_user "$folder/sheet.sla"
    reason="the file is read-only; make it writable and run Quarvel again."
    ;;
file-size)
    # 1 KiB blocks: far less than the document. The signal is ignored so that
    # the write fails with an error instead of killing the tool.
    bash -c 'trap "" XFSZ; ulimit -f 2; exec "$@"' limited "$QUARVEL" "$folder/sheet.sla" \
        >"$WORK/tool.out" 2>"$WORK/tool.err" &
    TOOL_PID=$!
    reason="cannot write the temporary file (File too large)."
    ;;
*) fail "unknown way to fail the save: '$ARGUMENT'" ;;
esac

wait_main_window
click_on bReflect
answer_message_box
wait_exit
[ "$STATUS" != 0 ] || fail "the tool ended with status 0 though the save failed"
grep -qF "quarvel: Cannot save \"$folder/sheet.sla\": $reason" "$WORK/tool.err" ||
    fail "no error report with the reason on stderr"
cmp -s "$SAMPLE" "$folder/sheet.sla" || fail "the original file changed"
[ "$(ls -A "$folder")" = sheet.sla ] || fail "files left in the folder: $(ls -A "$folder")"
[ -z "$(ls -A "$WORK/user/tmp")" ] || fail "temporary files left: $(ls -A "$WORK/user/tmp")"
echo "$ARGUMENT: $(head -n 1 "$WORK/tool.err")"
echo PASS
