#!/usr/bin/env bash
# The Scribus script shipped with Quarvel, run inside Scribus 1.5.8 (headless:
# -g, on the private X server) as the Script menu runs it, with Quarvel's
# window driven like a user's. scribus-driver.py opens the document, runs the
# script and records what it did and what Scribus holds afterwards; this
# checks that record and the file. ARGUMENT picks the case:
#   reflect     an unsaved change: saved after asking; top-bottom, Reflect;
#               Scribus opens the document again on the new page
#   compressed  a .sla.gz at its page 2, changed: saved compressed by Scribus;
#               Reflect left-right; the new page 3
#   forget      Forget about it: the document stays open as it was
#   error       Quarvel cannot save (a read-only file): its error is shown in
#               Scribus and the document stays as it was
#   cancel      the user declines to save: Quarvel does not start
#   no-program  Quarvel cannot be started: said in Scribus
# scripts/check-scribus-script-1.6.sh runs these cases with Scribus 1.6.3 from
# a Debian 13 root instead: SCRIBUS_ROOT names the root, where the scratch
# folder is seen at the same path, and SCRIBUS_QUARVEL the program to run there.
# scripts/check-package.sh runs the reflect case in a root where the package
# is installed: SCRIBUS_SCRIPT names the script as installed there, which then
# runs from its place and finds the program itself ($QUARVEL unset).
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

# A failure shows what Scribus said and what the driver recorded.
eval "lib_$(declare -f fail)"
fail() {
    for file in "$WORK/scribus.out" "${LOG:-}"; do
        if [ -s "$file" ]; then
            tail -n 20 "$file" | sed "s|^|  $(basename "$file"): |" >&2
        fi
    done
    lib_fail "$@"
}

QUARVEL=$(realpath "$QUARVEL")
SCRIPT="$(dirname "$QUARVEL")/scribus/Quarvel.py"
[ -f "$SCRIPT" ] || fail "no configured Scribus script at $SCRIPT"
command -v scribus >/dev/null || fail "Scribus is not installed: run scripts/install-deps.sh"
LOG="$WORK/user/log/record.txt"
SCRIBUS_PID=""
stop_scribus() { stop_pid "$SCRIBUS_PID"; }
CLEANUP_HOOKS+=(stop_scribus)

# Starts Scribus in the background on DOCUMENT at PAGE (EDIT, ANSWER: see
# scribus-driver.py), as the ordinary user of user_folder when AS_USER is
# set, with QUARVEL naming the program the script runs.
start_scribus() {
    local document=$1 page=$2 edit=$3 answer=$4 as_user=() root=()
    local script="$WORK/user/Quarvel.py"
    local program=(QUARVEL="${PROGRAM:-${SCRIBUS_QUARVEL:-$QUARVEL}}")
    if [ -n "${SCRIBUS_SCRIPT:-}" ]; then
        script=$SCRIBUS_SCRIPT
        program=(-u QUARVEL)
    fi
    mkdir -p "$WORK/user/log" "$WORK/user/prefs"
    if [ -n "${AS_USER:-}" ] && [ "$(id -u)" = 0 ]; then
        give -R "$WORK/user/log" "$WORK/user/prefs"
        mkdir -p "$WORK/user/runtime"
        chmod 700 "$WORK/user/runtime"
        give "$WORK/user/runtime"
        as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups
            env HOME="$WORK/user" XDG_RUNTIME_DIR="$WORK/user/runtime")
    fi
    if [ -n "${SCRIBUS_ROOT:-}" ]; then
        root=(chroot "$SCRIBUS_ROOT")
    fi
    # Scribus changes its working folder as it opens documents: every path is absolute.
    (cd "$WORK/user" && "${root[@]}" "${as_user[@]}" \
        env "${program[@]}" TMPDIR="$WORK/user/tmp" \
        timeout 300 scribus -g -ns -pr "$WORK/user/prefs" -py "$WORK/user/scribus-driver.py" \
        "$script" "$document" "$page" "$edit" "$answer" "$LOG" \
        >"$WORK/scribus.out" 2>&1) &
    SCRIBUS_PID=$!
}
# Waits for Scribus to end and for a complete record.
wait_scribus() {
    local status=0
    wait_pid "$SCRIBUS_PID" "$WAIT_SECONDS" || status=$?
    [ "$status" != 124 ] || fail "Scribus did not end: $(tail -n 5 "$WORK/scribus.out")"
    SCRIBUS_PID=""
    [ -f "$LOG" ] || fail "no record from Scribus: $(tail -n 5 "$WORK/scribus.out")"
    ! grep -q '^error' "$LOG" || fail "the driver failed: $(grep '^error' "$LOG")"
    [ "$(tail -n 1 "$LOG")" = end ] || fail "the record is cut short: $(tail -n 3 "$LOG")"
}
# Fields of the record.
recorded() { awk -F '\t' -v kind="$1" '$1 == kind { sub(/^[^\t]*\t?/, ""); print }' "$LOG"; }
calls() { recorded call | awk '{ print $1 }' | tr '\n' ' '; }
# The items on PAGE as "top left bottom right" boxes, as Scribus lists them:
# its frame at (x, y), turned about that corner (the scripter's rotation is
# the file's, negated); a line's height is its stroke, not part of its box.
scribus_boxes() {
    awk -F '\t' -v page="$1" '
        $1 == "item" && $2 == page {
            x = $5; y = $6; w = $7; h = ($4 == "Line") ? 0 : $8; a = -$9 * atan2(0, -1) / 180
            c = cos(a); s = sin(a)
            split("0 " w " " w " 0", px, " "); split("0 0 " h " " h, py, " ")
            for (i = 1; i <= 4; i++) {
                cx = x + px[i] * c - py[i] * s; cy = y + px[i] * s + py[i] * c
                if (i == 1 || cx < l) l = cx; if (i == 1 || cx > r) r = cx
                if (i == 1 || cy < t) t = cy; if (i == 1 || cy > b) b = cy
            }
            printf "%.3f %.3f %.3f %.3f\n", t + 0, l + 0, b + 0, r + 0
        }' "$LOG"
}
# The same boxes as the tool reads them from the file.
tool_boxes() {
    "$PAGELIST" "$1" "$2" | awk 'NR > 2 { printf "%.3f %.3f %.3f %.3f\n", $2 + 0, $3 + 0, $4 + 0, $5 + 0 }'
}
items_on() { recorded item | awk -F '\t' -v page="$1" '$1 == page' | wc -l; }
# Scribus shows the new page PAGE of DOCUMENT with as many items as SOURCE,
# and the items of both pages where the tool reads them from the file.
expect_scribus_shows() {
    local document=$1 page=$2 source=$3
    [ "$(recorded open | cut -f 1)" = "$document" ] || fail "Scribus has '$(recorded open)' open"
    [ "$(recorded open | cut -f 2)" = no ] || fail "Scribus marks the document changed"
    [ "$(recorded pages)" = "$page" ] || fail "Scribus shows $(recorded pages) pages, not $page"
    [ "$(recorded current)" = "$page" ] || fail "Scribus shows page $(recorded current), not $page"
    if [ "$(items_on "$page")" != "$(items_on "$source")" ] || [ "$(items_on "$page")" = 0 ]; then
        fail "the new page holds $(items_on "$page") items, page $source $(items_on "$source")"
    fi
    for p in "$source" "$page"; do
        diff <(scribus_boxes "$p") <(tool_boxes "$document" "$p") >&2 ||
            fail "Scribus shows the items of page $p elsewhere than the file holds them"
    done
}
expect_untouched() { # DOCUMENT ORIGINAL PAGE
    cmp -s "$1" "$2" || fail "the file changed"
    [ "$(recorded pages)" = 1 ] || fail "Scribus shows $(recorded pages) pages"
    [ "$(recorded current)" = "$3" ] || fail "Scribus moved to page $(recorded current)"
}

# Both scripts are run from the scratch folder, which a root sees too.
user_folder
cp "$E2E_DIR/scribus-driver.py" "$SCRIPT" "$WORK/user/"
docs="$WORK/user/docs"
mkdir -p "$docs"

case "$ARGUMENT" in
reflect)
    document="$docs/sheet.sla"
    cp "$SAMPLE" "$document"
    start_scribus "$document" 1 edit default
    wait_main_window
    x_shot "$MAIN" "$WORK/start.png"
    click_on Image3
    point_at background
    shot_until flipped "the vertical arrow did not turn the back preview" \
        differs_in "$WORK/start.png" back
    click_on bReflect
    wait_scribus
    recorded message | grep -q '^“sheet.sla” has changes that are not saved' ||
        fail "the script did not ask before saving: $(recorded message)"
    [ "$(recorded message | wc -l)" = 1 ] || fail "more than the question shown: $(recorded message)"
    [ "$(calls)" = "saveDoc closeDoc openDoc gotoPage " ] || fail "the script called: $(calls)"
    recorded call | grep -qx $'gotoPage\t2' || fail "the script went to another page"
    expect_scribus_shows "$document" 2 1
    # The change made before survives, saved, on page 1.
    IFS=$'\t' read -r name x < <(recorded edited)
    recorded item | awk -F '\t' -v n="$name" -v x="$x" '$1 == 1 && $2 == n { d = $4 - x; found = 1 }
        END { exit !(found && d < 1e-6 && d > -1e-6) }' || fail "the unsaved change was lost"
    # Quarvel wrote what its batch mode writes for the document as saved, turned top-bottom.
    saved=$(recorded saved)
    cp "$saved" "$WORK/expected.sla"
    env -u DISPLAY "$QUARVEL" --reflect top-bottom --page 1 "$WORK/expected.sla" >/dev/null ||
        fail "the batch mode failed on the saved document"
    cmp -s "$WORK/expected.sla" "$document" || fail "the document is not the saved one reflected top-bottom"
    ;;
compressed)
    # A two-page compressed document, opened in Scribus at page 2 and changed,
    # so that Scribus saves it compressed itself before Quarvel reads it.
    document="$docs/sheet.sla.gz"
    gzip -c "$SAMPLE" >"$document"
    env -u DISPLAY "$QUARVEL" --reflect left-right "$document" >/dev/null || fail "could not make two pages"
    start_scribus "$document" 2 edit default
    wait_main_window
    click_on bReflect
    wait_scribus
    [ "$(recorded message | wc -l)" = 1 ] || fail "the script showed: $(recorded message)"
    [ "$(calls)" = "saveDoc closeDoc openDoc gotoPage " ] || fail "the script called: $(calls)"
    [ "$(head -c 2 "$document" | od -An -tx1 | tr -d ' \n')" = 1f8b ] ||
        fail "the document is no longer compressed"
    zcat "$document" | grep -qF "<SCRIBUSUTF8NEW Version=\"$(recorded scribus)\">" ||
        fail "the document does not keep the version Scribus $(recorded scribus) saved it with"
    expect_scribus_shows "$document" 3 2
    cp "$(recorded saved)" "$WORK/expected.sla.gz"
    env -u DISPLAY "$QUARVEL" --reflect left-right --page 2 "$WORK/expected.sla.gz" >/dev/null ||
        fail "the batch mode failed on the saved document"
    cmp -s <(zcat "$WORK/expected.sla.gz") <(zcat "$document") ||
        fail "the document is not the saved one with page 2 reflected left-right"
    ;;
forget)
    document="$docs/sheet.sla"
    cp "$SAMPLE" "$document"
    start_scribus "$document" 1 none default
    wait_main_window
    click_on bForget
    wait_scribus
    [ -z "$(recorded message)" ] || fail "the script showed: $(recorded message)"
    [ -z "$(calls)" ] || fail "the script called: $(calls)"
    expect_untouched "$document" "$SAMPLE" 1
    [ "$(recorded open | cut -f 2)" = no ] || fail "Scribus marks the document changed"
    ;;
error)
    document="$docs/sheet.sla"
    cp "$SAMPLE" "$document"
    give "$docs" "$document"
    chmod a-w "$document"
    AS_USER=1 start_scribus "$document" 1 none default
    wait_main_window
    click_on bReflect
    answer_message_box
    wait_scribus
    expected="Cannot save \"$document\": the file is read-only; make it writable and run Quarvel again."
    [ "$(recorded message)" = "$expected" ] || fail "Scribus showed '$(recorded message)'"
    [ -z "$(calls)" ] || fail "the script called: $(calls)"
    expect_untouched "$document" "$SAMPLE" 1
    ;;
cancel)
    document="$docs/sheet.sla"
    cp "$SAMPLE" "$document"
    watch_main_window
    start_scribus "$document" 1 edit cancel
    wait_scribus
    stop_watch
    ! main_window_seen || fail "Quarvel started though the user cancelled"
    [ "$(recorded message | wc -l)" = 1 ] || fail "the script showed: $(recorded message)"
    [ -z "$(calls)" ] || fail "the script called: $(calls)"
    expect_untouched "$document" "$SAMPLE" 1
    [ "$(recorded open | cut -f 2)" = yes ] || fail "the unsaved change is gone"
    ;;
no-program)
    document="$docs/sheet.sla"
    cp "$SAMPLE" "$document"
    PROGRAM="$WORK/no-such-program" start_scribus "$document" 1 none default
    wait_scribus
    [ "$(recorded message)" = "Quarvel could not be started ($WORK/no-such-program): No such file or directory." ] ||
        fail "Scribus showed '$(recorded message)'"
    expect_untouched "$document" "$SAMPLE" 1
    ;;
*) fail "unknown case '$ARGUMENT'" ;;
esac
echo "$ARGUMENT with Scribus $(recorded scribus)"
echo PASS
