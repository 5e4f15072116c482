#!/usr/bin/env bash
# Checks that Scribus 1.6.3 opens documents the tool wrote, with the new page
# where it should be. Run by hand (as root: it mounts and chroots); it needs a
# Debian 13 root with Scribus 1.6.3, made as the README says.
#
#   scripts/check-scribus-1.6.sh ROOT [FILE...]
#
# Without FILEs it first makes them: the built tool (build/quarvel, or
# $QUARVEL_BUILD_DIR) runs on scratch copies of the documents Scribus 1.6.3
# saved (tests/data/scribus/scribus-1.6, the compressed one too), on a private
# X server, and Reflect Page is clicked.
#
# For each document, Scribus 1.6.3 (in ROOT) lists every page's items with
# their page, position, size and rotation. That listing must match, item by
# item, what this machine's Scribus 1.5.8 lists for the same document
# labelled 1.5.8 (the format is the same; the tests check that Scribus 1.5.8
# finds every item where the tool put it), and the last page must hold as many
# items as the first: the copies Reflect made.
set -euo pipefail
cd "$(dirname "$0")/.."

die() {
    echo "check-scribus-1.6.sh: $*" >&2
    exit 1
}
[ $# -ge 1 ] || die "usage: scripts/check-scribus-1.6.sh ROOT [FILE...]"
build_dir=${QUARVEL_BUILD_DIR:-build}

# shellcheck source=scripts/lib/xvfb.sh
source scripts/lib/xvfb.sh
# shellcheck source=scripts/lib/scribus-root.sh
source scripts/lib/scribus-root.sh
xvfb_session
trap 'scribus_root_close; xvfb_session_end' EXIT
scribus_root_open "$1"
shift

# Lists "pages N", then one line per item: page, name, x, y, width, height,
# rotation (positions relative to the item's page, as the scripter gives them).
cat >"$WORK/list.py" <<'EOF'
import sys
import scribus
out = open(sys.argv[2], "w")
try:
    scribus.openDoc(sys.argv[1])
    out.write("pages\t%d\n" % scribus.pageCount())
    for p in range(1, scribus.pageCount() + 1):
        scribus.gotoPage(p)
        for name in scribus.getAllObjects(page=p - 1):
            x, y = scribus.getPosition(name)
            w, h = scribus.getSize(name)
            out.write("%d\t%s\t%.4f\t%.4f\t%.4f\t%.4f\t%.4f\n"
                      % (p, name, x, y, w, h, scribus.getRotation(name)))
except Exception as e:
    out.write("error\t%s\n" % e)
out.close()
EOF

# Runs the tool on FILE and clicks Reflect Page.
reflect() {
    "$build_dir/quarvel" "$1" >"$WORK/tool.log" 2>&1 &
    TOOL_PID=$!
    local window status=0 x y
    window=$(x_wait_window '^Quarvel$' 60) || die "the tool's window did not appear: $(cat "$WORK/tool.log")"
    x_settled_shot "$window" "$WORK/window.png" >/dev/null
    read -r x y < <("$build_dir/quarvel_design" |
        awk '$1 == "bReflect" { print int($2 + $4 / 2), int($3 + $5 / 2) }')
    x_click "$window" "$x" "$y" # Reflect Page, where the design table puts it
    wait_pid "$TOOL_PID" 60 || status=$?
    TOOL_PID=""
    [ "$status" = 0 ] || die "the tool ended with status $status on $1: $(cat "$WORK/tool.log")"
}

mkdir -p "$WORK/data"
files=("$@")
if [ ${#files[@]} -eq 0 ]; then
    [ -x "$build_dir/quarvel" ] || die "no $build_dir/quarvel: build first (scripts/build.sh)"
    xvfb_start "$WORK"
    for sample in sheet_1000x700.sla grid_64.sla minimal_handwritten.sla sheet_1000x700.sla.gz; do
        copy="$WORK/written-${sample/.sla/-1.6.sla}"
        cp "tests/data/scribus/scribus-1.6/$sample" "$copy"
        reflect "$copy"
        files+=("$copy")
    done
fi

# Scribus 1.6.3 in the root needs an X server of its own (xvfb-run, in the root).
mkdir -p "$ROOT/tmp/.X11-unix"
chmod 1777 "$ROOT/tmp" "$ROOT/tmp/.X11-unix"
scribus_root_mount "$ROOT/quarvel-check" --bind "$WORK/data"
cp "$WORK/list.py" "$WORK/data/list.py"
mkdir -p "$WORK/prefs"

failed=0
index=0
for file in "${files[@]}"; do
    index=$((index + 1))
    name="document-$index.sla"
    case "$file" in *.gz) name+=.gz ;; esac
    cp "$file" "$WORK/data/$name"
    timeout 300 chroot "$ROOT" env HOME=/root XDG_RUNTIME_DIR=/tmp \
        xvfb-run -a scribus -g -ns -py /quarvel-check/list.py "/quarvel-check/$name" \
        "/quarvel-check/$index-1.6.3.txt" >"$WORK/scribus-1.6.log" 2>&1 || true
    zcat -f "$file" | sed '0,/<SCRIBUSUTF8NEW Version="[^"]*"/s//<SCRIBUSUTF8NEW Version="1.5.8"/' \
        >"$WORK/labelled-$index.sla"
    (cd "$WORK" && QT_QPA_PLATFORM=offscreen timeout 300 scribus -g -ns -pr "$WORK/prefs" \
        -py "$WORK/list.py" "$WORK/labelled-$index.sla" "$WORK/$index-1.5.8.txt" \
        >"$WORK/scribus-1.5.log" 2>&1) || true
    new=$WORK/data/$index-1.6.3.txt
    old=$WORK/$index-1.5.8.txt
    for listing in "$new" "$old"; do
        [ -s "$listing" ] || {
            version=${listing##*-}
            echo "$file: FAILED: Scribus ${version%.txt} ended without listing it (a crash?)"
            failed=1
            continue 2
        }
    done
    verdict=$(awk -F '\t' '
        NR == FNR { if ($1 != "pages") reference[$2] = $0; next }
        $1 == "error" { print "Scribus 1.6.3 cannot open it: " $2; bad = 1; exit }
        $1 == "pages" { pages = $2; next }
        {
            count[$1]++
            if (!($2 in reference)) { print "Scribus 1.5.8 does not list " $2; bad = 1; next }
            split(reference[$2], r, "\t")
            if (r[1] != $1) { print $2 ": page " $1 " in 1.6.3, " r[1] " in 1.5.8"; bad = 1 }
            for (k = 3; k <= 7; k++) {
                d = $k - r[k]
                if (d > 1e-3 || d < -1e-3) { print $2 ": field " k " is " $k " in 1.6.3, " r[k] " in 1.5.8"; bad = 1 }
            }
            seen++
        }
        END {
            if (bad) exit 1
            if (pages < 2) { print "only " pages " page(s)"; exit 1 }
            if (seen != length(reference)) { print "Scribus 1.6.3 lists " seen " items, 1.5.8 " length(reference); exit 1 }
            if (count[pages] != count[1] || count[1] == 0) { print "page " pages " holds " count[pages] + 0 " items, page 1 " count[1] + 0; exit 1 }
            printf "%d pages; page 1 and page %d hold %d items each, as Scribus 1.5.8 finds them", pages, pages, count[1]
        }' "$old" "$new" 2>&1) || {
        failed=1
        verdict="FAILED: $verdict"
    }
    echo "$file: $verdict"
done
[ "$failed" = 0 ] || die "some documents do not open in Scribus 1.6.3 as they should"
echo "All documents open in Scribus 1.6.3 with the new page where it should be."
