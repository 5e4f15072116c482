#!/usr/bin/env bash
# Reflect when the document cannot be saved: an error report (stderr and the
# box, closed with Return), a non-zero exit status, the original file intact
# and no temporary file left behind. ARGUMENT chooses how the save fails:
#   folder      the document's folder cannot be written (read-only for a user;
#               immutable for root, who ignores permissions)
#   file-size   the file size limit cuts the new copy off mid-write
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

folder="$WORK/locked"
mkdir "$folder"
cp "$SAMPLE" "$folder/sheet.sla"
limit=()

folder_is_writable() {
    if touch "$folder/probe" 2>/dev/null; then
        rm -f "$folder/probe"
        return 0
    fi
    return 1
}
unlock() {
    chattr -i "$folder" 2>/dev/null || true
    chmod u+w "$folder"
}
CLEANUP_HOOKS+=(unlock)

case "$ARGUMENT" in
folder)
    chmod a-w "$folder"
    if folder_is_writable; then
        chattr +i "$folder" 2>/dev/null ||
            skip "cannot make a folder unwritable here: permissions do not bind this user" \
                "and chattr +i is not allowed on this file system"
        ! folder_is_writable || skip "chattr +i did not stop writes in the folder"
    fi
    ;;
file-size)
    # 1 KiB blocks: far less than the document. The signal is ignored so that
    # the write fails with an error instead of killing the tool.
    limit=(bash -c 'trap "" XFSZ; ulimit -f 2; exec "$@"' limited)
    ;;
*) fail "unknown way to fail the save: '$ARGUMENT'" ;;
esac

"${limit[@]}" "$QUARVEL" "$folder/sheet.sla" >"$WORK/tool.out" 2>"$WORK/tool.err" &
TOOL_PID=$!
wait_main_window
click_on bReflect
answer_message_box
wait_exit
[ "$STATUS" != 0 ] || fail "the tool ended with status 0 though the save failed"
grep -q '^quarvel: ' "$WORK/tool.err" || fail "no error report on stderr"
cmp -s "$SAMPLE" "$folder/sheet.sla" || fail "the original file changed"
[ "$(ls -A "$folder")" = sheet.sla ] || fail "files left in the folder: $(ls -A "$folder")"
echo "$ARGUMENT: $(head -n 1 "$WORK/tool.err")"
echo PASS
