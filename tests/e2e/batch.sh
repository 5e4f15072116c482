#!/usr/bin/env bash
# The batch mode (--reflect) of the real binary, run without any display:
# DISPLAY and WAYLAND_DISPLAY unset and Qt told to use X, so that the run
# would fail if anything tried to open a window. ARGUMENT picks the case:
#   left-right       Reflect on the sample: tables printed, back side saved
#   top-bottom-page  --page 2 of a two-page document, turned top-bottom
#   compressed       a compressed Scribus 1.6 document stays compressed
#   json             --json is well-formed and holds what the file holds
#   dry-run          --dry-run prints the same tables and writes nothing
#   errors           each failure: status 1, one line on stderr, the file untouched
#                    (an unfinished save's backup beside it among them)
#   no-document      no FILE: the tool's message, status 1; a usage mistake: status 2
#   same-as-window   the batch writes byte for byte what the window's Reflect
#                    writes (the window on a private X server, the batch without)
[ "${4:-}" = same-as-window ] || E2E_DISPLAY=none
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

# Runs the batch mode without a display; sets STATUS, with standard output
# in $WORK/out and standard error in $WORK/err.
batch() {
    STATUS=0
    env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$QUARVEL" "$@" \
        >"$WORK/out" 2>"$WORK/err" || STATUS=$?
}
expect_done() {
    [ "$STATUS" = 0 ] || fail "the batch ended with status $STATUS: $(cat "$WORK/err")"
    [ ! -s "$WORK/err" ] || fail "the batch wrote to stderr: $(cat "$WORK/err")"
}
# One side ("front" or "back") of the printed tables, as "top left bottom
# right angle" lines; `pages` gives its page numbers instead.
side() {
    awk -v side="$1" -v what="${2:-rows}" '
        $0 == "front" || $0 == "back" { current = $0; next }
        current == side && NF == 6 && $1 ~ /^[0-9]+$/ {
            if (what == "pages") print $1; else print $2, $3, $4, $5, $6
        }' "$WORK/out"
}
# Whether two lists of "top left bottom right angle" lines agree to 1/1000 point.
same_rows() {
    [ "$(wc -l <<<"$1")" = "$(wc -l <<<"$2")" ] &&
        paste -d ' ' <(echo "$1") <(echo "$2") | awk '{
            for (i = 1; i <= 5; i++) { d = $i - $(i + 5); if (d > 1e-3 || d < -1e-3) bad = 1 }
        } END { exit bad }'
}
size_of() { "$PAGELIST" "$1" | awk '$1 == "size" { print $2, $3 }'; }

case "$ARGUMENT" in
left-right)
    batch --reflect left-right "$SHEET"
    expect_done
    [ "$(head -n 1 "$WORK/out")" = "$SHEET: page 1 turned left-right, back side written as page 2" ] ||
        fail "the heading is '$(head -n 1 "$WORK/out")'"
    [ "$(page_count "$SHEET")" = 2 ] || fail "the document has $(page_count "$SHEET") pages, not 2"
    [ "$(side front pages | tr '\n' ' ')" = "1 3 5 7 9 11 " ] || fail "front pages: $(side front pages)"
    [ "$(side back pages | tr '\n' ' ')" = "2 4 6 8 10 12 " ] || fail "back pages: $(side back pages)"
    same_rows "$(side front)" "$(rectangles "$SAMPLE" 1)" || fail "the front table is not page 1"
    same_rows "$(side back)" "$(rectangles "$SHEET" 2)" || fail "the back table is not the new page"
    read -r width height < <(size_of "$SHEET")
    mirrored "$(rectangles "$SAMPLE" 1)" "$(rectangles "$SHEET" 2)" left-right "$width" "$height" ||
        fail "the new page is not page 1 turned left-right"
    [ "$(rectangles "$SHEET" 1)" = "$(rectangles "$SAMPLE" 1)" ] || fail "page 1 changed"
    ;;
top-bottom-page)
    batch --reflect left-right "$SHEET"
    expect_done
    page2=$(rectangles "$SHEET" 2)
    batch --reflect top-bottom --page 2 "$SHEET"
    expect_done
    [ "$(head -n 1 "$WORK/out")" = "$SHEET: page 2 turned top-bottom, back side written as page 3" ] ||
        fail "the heading is '$(head -n 1 "$WORK/out")'"
    [ "$(page_count "$SHEET")" = 3 ] || fail "the document has $(page_count "$SHEET") pages, not 3"
    [ "$(rectangles "$SHEET" 2)" = "$page2" ] || fail "page 2 changed"
    same_rows "$(side front)" "$page2" || fail "the front table is not page 2"
    same_rows "$(side back)" "$(rectangles "$SHEET" 3)" || fail "the back table is not the new page"
    read -r width height < <(size_of "$SHEET")
    mirrored "$page2" "$(rectangles "$SHEET" 3)" top-bottom "$width" "$height" ||
        fail "the new page is page 2 not turned top-bottom"
    ;;
compressed)
    document="$WORK/sheet-1.6.sla.gz"
    sed 's/<SCRIBUSUTF8NEW Version="1\.5\.8">/<SCRIBUSUTF8NEW Version="1.6.3">/' "$SAMPLE" |
        gzip -c >"$document"
    batch --reflect top-bottom "$document"
    expect_done
    [ "$(head -c 2 "$document" | od -An -tx1 | tr -d ' \n')" = 1f8b ] ||
        fail "the document is no longer compressed"
    gzip -t "$document" || fail "the compressed document is damaged"
    zcat "$document" | grep -qF '<SCRIBUSUTF8NEW Version="1.6.3">' || fail "the version changed"
    [ "$(page_count "$document")" = 2 ] || fail "the document does not have 2 pages"
    same_rows "$(side back)" "$(rectangles "$document" 2)" || fail "the back table is not the new page"
    read -r width height < <(size_of "$document")
    mirrored "$(rectangles "$SAMPLE" 1)" "$(rectangles "$document" 2)" top-bottom "$width" "$height" ||
        fail "the new page is not page 1 turned top-bottom"
    ;;
json)
    batch --reflect left-right --json "$SHEET" "$WORK/missing.sla"
    [ "$STATUS" = 1 ] || fail "a missing second file ended with status $STATUS"
    [ "$(wc -l <"$WORK/err")" = 1 ] || fail "not one error line: $(cat "$WORK/err")"
    # Parsed by a JSON parser, checked against the saved document.
    rectangles "$SHEET" 1 >"$WORK/page1"
    rectangles "$SHEET" 2 >"$WORK/page2"
    python3 - "$WORK/out" "$SHEET" "$WORK/missing.sla" "$WORK/page1" "$WORK/page2" <<'PY' ||
import json, sys
out, sheet, missing, page1, page2 = sys.argv[1:]
with open(out) as f:
    runs = json.load(f)
def rows(path):
    with open(path) as f:
        return [[float(v) for v in line.split()] for line in f if line.strip()]
def table(side):
    return [[row[k] for k in ("top", "left", "bottom", "right", "angle")] for row in side]
def same(a, b):
    return len(a) == len(b) and all(abs(x - y) < 1e-9 for r, s in zip(a, b) for x, y in zip(r, s))
done, failed = runs
assert len(runs) == 2, runs
assert done["file"] == sheet and done["page"] == 1 and done["direction"] == "left-right", done
assert done["written"] is True and done["newPage"] == 2, done
assert [r["page"] for r in done["front"]] == [1, 3, 5, 7, 9, 11], done["front"]
assert [r["page"] for r in done["back"]] == [2, 4, 6, 8, 10, 12], done["back"]
assert same(table(done["front"]), rows(page1)), "front differs from page 1"
assert same(table(done["back"]), rows(page2)), "back differs from page 2"
assert failed["file"] == missing and "does not exist" in failed["error"], failed
assert set(failed) == {"file", "error"}, failed
PY
        fail "the JSON does not hold what the document holds: $(cat "$WORK/out")"
    ;;
dry-run)
    cp "$SAMPLE" "$WORK/real.sla"
    mkdir "$WORK/dry"
    document="$WORK/dry/sheet.sla"
    cp "$SAMPLE" "$document"
    touch -d '2001-02-03 04:05:06' "$document"
    before=$(stat -c '%i %Y %s' "$document")
    batch --reflect top-bottom --dry-run "$document"
    expect_done
    cp "$WORK/out" "$WORK/dry.out"
    cmp -s "$document" "$SAMPLE" || fail "the dry run changed the document"
    [ "$(stat -c '%i %Y %s' "$document")" = "$before" ] || fail "the dry run wrote the document"
    [ "$(ls -A "$WORK/dry")" = sheet.sla ] || fail "files left beside it: $(ls -A "$WORK/dry")"
    [ "$(head -n 1 "$WORK/dry.out")" = "$document: page 1 turned top-bottom, dry run: nothing written" ] ||
        fail "the heading is '$(head -n 1 "$WORK/dry.out")'"
    batch --reflect top-bottom "$WORK/real.sla"
    expect_done
    diff <(tail -n +2 "$WORK/dry.out") <(tail -n +2 "$WORK/out") >&2 ||
        fail "the dry run's tables are not the real run's"
    ;;
errors)
    user_folder
    folder="$WORK/user/docs"
    mkdir "$folder"
    give "$folder"
    # Each case: how to make the document, how to run the batch, and the error.
    try() { # try NAME ERROR COMMAND...
        local name=$1 error=$2
        shift 2
        local document="$folder/$name"
        cp -p "$document" "$WORK/original"
        ls -A "$folder" >"$WORK/listing"
        STATUS=0
        "$@" >"$WORK/out" 2>"$WORK/err" || STATUS=$?
        [ "$STATUS" = 1 ] || fail "$name: status $STATUS, not 1: $(cat "$WORK/err")"
        [ "$(cat "$WORK/err")" = "quarvel: $error" ] || fail "$name: stderr is '$(cat "$WORK/err")'"
        [ ! -s "$WORK/out" ] || fail "$name: printed tables: $(cat "$WORK/out")"
        cmp -s "$document" "$WORK/original" || fail "$name: the document changed"
        diff "$WORK/listing" <(ls -A "$folder") >&2 || fail "$name: files left in the folder"
        echo "$name: $(cat "$WORK/err")"
    }
    no_display=(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb)
    as_user=()
    if [ "$(id -u)" = 0 ]; then
        as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups env HOME="$WORK/user")
    fi
    cp "$SAMPLE" "$folder/one-page.sla"
    try one-page.sla "Cannot show page 2 of \"$folder/one-page.sla\": it has 1 page." \
        "${no_display[@]}" "$QUARVEL" --reflect left-right --page 2 "$folder/one-page.sla"
    printf 'Not a Scribus document\n' >"$folder/text.sla"
    try text.sla "Cannot open \"$folder/text.sla\": it is not well-formed XML (text outside the root element)." \
        "${no_display[@]}" "$QUARVEL" --reflect left-right "$folder/text.sla"
    # 1 KiB blocks: far less than the new document. The signal is ignored so
    # that the write fails with an error instead of killing the tool.
    cp "$SAMPLE" "$folder/limited.sla"
    try limited.sla "Cannot save \"$folder/limited.sla\": cannot write the temporary file (File too large)." \
        bash -c 'trap "" XFSZ; ulimit -f 2; exec "$@"' limited \
        "${no_display[@]}" TMPDIR="$WORK/user/tmp" "$QUARVEL" --reflect top-bottom "$folder/limited.sla"
    cp "$SAMPLE" "$folder/read-only.sla"
    give "$folder/read-only.sla"
    chmod a-w "$folder/read-only.sla"
    try read-only.sla "Cannot save \"$folder/read-only.sla\": the file is read-only; make it writable and run Quarvel again." \
        "${as_user[@]}" "${no_display[@]}" TMPDIR="$WORK/user/tmp" "$QUARVEL" --reflect left-right \
        "$folder/read-only.sla"
    # What an unfinished rewrite in place left: named, the document untouched.
    cp "$SAMPLE" "$folder/interrupted.sla"
    cp "$SAMPLE" "$folder/interrupted.sla.quarvel-backup"
    try interrupted.sla "Cannot open \"$folder/interrupted.sla\": a save that did not finish left its old version in \"$folder/interrupted.sla.quarvel-backup\"; put that back or delete it, then run Quarvel again." \
        "${no_display[@]}" "$QUARVEL" --reflect left-right "$folder/interrupted.sla"
    [ -z "$(ls -A "$WORK/user/tmp")" ] || fail "temporary files left: $(ls -A "$WORK/user/tmp")"
    ;;
no-document)
    batch --reflect left-right
    [ "$STATUS" = 1 ] || fail "without a document the status is $STATUS, not 1"
    [ "$(cat "$WORK/err")" = "quarvel: Please open a publication and try again." ] ||
        fail "stderr is '$(cat "$WORK/err")'"
    [ ! -s "$WORK/out" ] || fail "printed something: $(cat "$WORK/out")"
    batch --reflect top-bottom --json
    if [ "$STATUS" != 1 ] || [ "$(cat "$WORK/out")" != "[]" ]; then
        fail "--json without a document: status $STATUS, '$(cat "$WORK/out")'"
    fi
    batch --reflect sideways "$SHEET"
    [ "$STATUS" = 2 ] || fail "a wrong direction ended with status $STATUS, not 2"
    head -n 1 "$WORK/err" | grep -qF 'quarvel: --reflect needs left-right or top-bottom, not "sideways"' ||
        fail "the usage error is '$(head -n 1 "$WORK/err")'"
    cmp -s "$SHEET" "$SAMPLE" || fail "a usage mistake changed the document"
    ;;
same-as-window)
    for direction in left-right top-bottom; do
        cp "$SAMPLE" "$WORK/window.sla"
        cp "$SAMPLE" "$WORK/batch.sla"
        start_tool "$WORK/window.sla"
        wait_main_window
        if [ "$direction" = top-bottom ]; then
            x_shot "$MAIN" "$WORK/start.png"
            click_on Image3
            point_at background
            shot_until flipped "the vertical arrow did not turn the back preview" \
                differs_in "$WORK/start.png" back
        fi
        click_on bReflect
        wait_exit
        [ "$STATUS" = 0 ] || fail "the window's Reflect ended with status $STATUS"
        batch --reflect "$direction" "$WORK/batch.sla"
        expect_done
        cmp "$WORK/window.sla" "$WORK/batch.sla" >&2 ||
            fail "$direction: the batch wrote another document than the window"
        echo "$direction: the same $(stat -c %s "$WORK/batch.sla") bytes"
    done
    ;;
*) fail "unknown case '$ARGUMENT'" ;;
esac
echo PASS
