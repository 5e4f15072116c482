#!/usr/bin/env bash
# Reflect on a compressed document (.sla.gz, as Scribus saves it) of the
# Scribus series in ARGUMENT (1.5 or 1.6): the document is saved compressed,
# keeping its version, and read back it holds page 1 as it was and the back
# side on a new page.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

case "$ARGUMENT" in
1.5) version=1.5.8 ;;
1.6) version=1.6.3 ;; # the same format under the version Scribus 1.6 writes
*) fail "unknown Scribus series '$ARGUMENT'" ;;
esac
sed "s/<SCRIBUSUTF8NEW Version=\"1\\.5\\.8\">/<SCRIBUSUTF8NEW Version=\"$version\">/" "$SAMPLE" |
    gzip -c >"$WORK/sheet.sla.gz"
document="$WORK/sheet.sla.gz"

start_tool "$document"
wait_main_window
click_on bReflect
wait_exit
[ "$STATUS" = 0 ] || fail "Reflect ended the tool with status $STATUS"

[ "$(head -c 2 "$document" | od -An -tx1 | tr -d ' \n')" = 1f8b ] ||
    fail "the document is no longer compressed"
gzip -t "$document" || fail "the compressed document is damaged"
zcat "$document" | grep -qF "<SCRIBUSUTF8NEW Version=\"$version\">" ||
    fail "the document does not keep version $version"
[ "$(page_count "$document")" = 2 ] || fail "the saved document does not have 2 pages"
[ "$(rectangles "$document" 1)" = "$(rectangles "$SAMPLE" 1)" ] || fail "page 1 changed"
[ "$(rectangles "$document" 2 | wc -l)" = 6 ] || fail "the new page lacks rectangles"
echo "Scribus $version, compressed: $(zcat "$document" | wc -c) bytes uncompressed"
echo PASS
