#!/usr/bin/env bash
# Reflect on a document whose file a plain rename would not serve: it is saved
# in place, readable, with the new page, and nothing is left behind.
# ARGUMENT:
#   read-only-folder  a writable document in a folder the user may not write
#                     (the tool runs as an ordinary user: permissions do not bind root)
#   hard-link         the document has a second name, which keeps showing it
#   symbolic-link     the tool is given a link, which keeps pointing at the document
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

user_folder
folder="$WORK/user/docs"
mkdir "$folder"
cp "$SAMPLE" "$folder/sheet.sla"
document="$folder/sheet.sla"
case "$ARGUMENT" in
read-only-folder) expected=sheet.sla ;;
hard-link)
    ln "$document" "$folder/other name.sla"
    expected=$'other name.sla\nsheet.sla'
    ;;
symbolic-link)
    ln -s sheet.sla "$folder/link.sla"
    document="$folder/link.sla"
    expected=$'link.sla\nsheet.sla'
    ;;
*) fail "unknown kind of file: '$ARGUMENT'" ;;
esac
give "$folder" "$folder"/*
[ "$ARGUMENT" != read-only-folder ] || chmod 555 "$folder"
inode=$(stat -c %i "$folder/sheet.sla")

start_tool_as_user "$document"
wait_main_window
click_on bReflect
wait_exit
[ "$STATUS" = 0 ] || fail "Reflect ended the tool with status $STATUS"

[ "$(page_count "$folder/sheet.sla")" = 2 ] || fail "the saved document does not have 2 pages"
[ "$(rectangles "$folder/sheet.sla" 1)" = "$(rectangles "$SAMPLE" 1)" ] || fail "page 1 changed"
[ "$(rectangles "$folder/sheet.sla" 2 | wc -l)" = 6 ] || fail "the new page lacks rectangles"
[ "$(ls -A "$folder")" = "$expected" ] || fail "the folder holds: $(ls -A "$folder")"
[ -z "$(ls -A "$WORK/user/tmp")" ] || fail "temporary files left: $(ls -A "$WORK/user/tmp")"
case "$ARGUMENT" in
read-only-folder)
    [ "$(stat -c %i "$folder/sheet.sla")" = "$inode" ] || fail "the file was not saved in place"
    ;;
hard-link)
    [ "$(stat -c '%i %h' "$folder/other name.sla")" = "$inode 2" ] ||
        fail "the second name no longer shows the document"
    ;;
symbolic-link)
    [ "$(readlink "$folder/link.sla")" = sheet.sla ] || fail "the link changed"
    ;;
esac
echo "$ARGUMENT: saved, $(stat -c '%h link(s), inode %i' "$folder/sheet.sla")"
echo PASS
