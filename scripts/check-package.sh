#!/usr/bin/env bash
# Installs the Debian package on clean Debian 12 (bookworm) and Debian 13
# (trixie) systems and checks, in each, what a user gets. Run by hand, as root
# (it mounts and chroots), after the packages are built:
#
#   scripts/check-package.sh [RELEASE...]    # default: bookworm trixie
#
# Each release gets the package built for it, build-package/<release>/
# quarvel_<version>_<arch>.deb (scripts/package.sh for this machine's release,
# scripts/package.sh RELEASE for another); the check does not build one itself
# but stops first, naming the command for each one missing. The end-to-end
# case drives the window with the tools of this machine's package build, which
# run here. Each system is a root made once with debootstrap --variant=minbase,
# with Scribus (which the package recommends) and the tools the checks use, and
# kept in $QUARVEL_ROOTS (default /var/cache/quarvel-check-package; remove a
# root there to make it again). Every run starts from that clean root: the
# root is mounted read-only under a scratch layer (overlayfs) that is thrown
# away afterwards. The packages apt downloads are kept beside the roots, so a
# second run downloads nothing new. In each root:
#   install   apt-get install ./quarvel_*.deb pulls every runtime dependency
#   version   quarvel --version names the package's version
#   reflect   quarvel --reflect top-bottom on the bundled sample writes page 2,
#             and quarvel --reflect --dry-run --json reads the new page back
#             where the first run put it
#   scribus   that root's Scribus opens the result through its scripter and
#             lists the new page holding as many items as page 1
#   script    the Scribus script is a file in the folder whose scripts Scribus
#             lists under Script > Scribus Scripts, and it runs /usr/bin/quarvel
#   menu      Scribus runs that script as its menu does, on a document with an
#             unsaved change: it saves, /usr/bin/quarvel opens, Reflect Page is
#             clicked, and Scribus opens the document again on the new page
#             (tests/e2e/scribus.sh, reflect case, on a private X server here)
#   man       man -w quarvel finds the manual page
#   desktop   desktop-file-validate accepts the desktop entry
#   remove    apt-get remove quarvel leaves no file of Quarvel behind
set -euo pipefail
cd "$(dirname "$0")/.."

die() {
    echo "check-package.sh: $*" >&2
    exit 1
}
[ "$(id -u)" = 0 ] || die "run as root: the check mounts folders and chroots into them"
releases=("$@")
[ ${#releases[@]} -gt 0 ] || releases=(bookworm trixie)
version=$(dpkg-parsechangelog -S Version)
arch=$(dpkg-architecture -q DEB_HOST_ARCH)
this_release=$(. /etc/os-release && echo "$VERSION_CODENAME")
package_of() { echo "build-package/$1/quarvel_${version}_$arch.deb"; }
making() { # the command that builds the package for RELEASE
    if [ "$1" = "$this_release" ]; then echo "scripts/package.sh"; else echo "sudo scripts/package.sh $1"; fi
}
# The end-to-end case reads the documents with the tools of this machine's
# package build, which run here (another release's build runs only in its root).
tools=${QUARVEL_BUILD_DIR:-build-package/$this_release/quarvel-$version/build-deb}
missing=()
for release in "${releases[@]}"; do
    [ -f "$(package_of "$release")" ] || missing+=("$(making "$release")")
done
[ -x "$tools/quarvel_pagelist" ] || missing+=("$(making "$this_release")")
if [ ${#missing[@]} -gt 0 ]; then
    die "build the packages first (and with them the tools in $tools): $(printf '%s\n' "${missing[@]}" |
        sort -u | paste -sd ';' | sed 's/;/; /g')"
fi
sample=$PWD/samples/sheet.sla
tools=$(realpath "$tools")
scripts/install-deps.sh
# What building and checking a package takes beyond the project's own build.
# shellcheck source=scripts/lib/apt.sh
source scripts/lib/apt.sh
apt_install_missing dpkg-dev debootstrap
# shellcheck source=scripts/lib/debian-root.sh
source scripts/lib/debian-root.sh

# What the clean systems hold beyond minbase: Scribus and what the checks run.
root_packages=scribus,python3,xvfb,xauth,man-db,desktop-file-utils

# The scripts run in the roots, and a scratch folder per root.
SCRATCH=$(mktemp -d)
# --one-file-system: a root still mounted (busy) is never descended into.
check_end() {
    debian_root_leave
    rm -rf --one-file-system "$SCRATCH"
}
trap check_end EXIT
seconds() { date +%s; }

# In the root: runs a command with a plain environment.
in_root() { debian_root_run "$ROOT" "$@"; }
# Lists the root's files, less what changes on its own (apt's and dpkg's
# records, caches, logs) and the check's own folder.
root_files() {
    (cd "$ROOT" && find . -xdev \( -path ./proc -o -path ./dev -o -path ./sys -o -path ./tmp \
        -o -path ./run -o -path ./var/cache/apt -o -path ./var/lib/apt -o -path ./var/log \
        -o -path ./root -o -path ./quarvel-check \) -prune -o -print | sort)
}

FAILED=0
result() { # result NAME STATUS DETAIL
    if [ "$2" = ok ]; then
        printf '  %-8s ok      %s\n' "$1" "$3"
    else
        printf '  %-8s FAILED  %s\n' "$1" "$3"
        FAILED=1
    fi
}

# Scribus's scripter, run in the root on a private X server (the Debian
# Scribus starts only with one): SCRIPT ARGUMENTS... It writes its own report.
# X servers in a root share this machine's display numbers (abstract sockets)
# but not its lock files: the number is picked free here.
run_scribus() {
    local display=99
    while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do
        display=$((display + 1))
    done
    in_root env XDG_RUNTIME_DIR=/tmp timeout 300 xvfb-run -n "$display" -s "-nolisten tcp" \
        scribus -g -ns -py "$@" >>"$DATA/scribus.log" 2>&1 || true
}

# The scripter's view of DOCUMENT: "pages N", then "items PAGE COUNT" per page.
cat >"$SCRATCH/list.py" <<'EOF'
import sys
import scribus
out = open(sys.argv[2], "w")
try:
    scribus.openDoc(sys.argv[1])
    out.write("pages %d\n" % scribus.pageCount())
    for page in range(1, scribus.pageCount() + 1):
        out.write("items %d %d\n" % (page, len(scribus.getAllObjects(page=page - 1))))
except Exception as error:
    out.write("error %s\n" % error)
out.close()
EOF
# The Scribus script as Scribus's menu runs it, asked only which program it
# would start: "program PATH", with no $QUARVEL set. It leaves no compiled
# copy beside the script, which would outlive the package.
cat >"$SCRATCH/lookup.py" <<'EOF'
import importlib.util
import sys
sys.dont_write_bytecode = True
out = open(sys.argv[2], "w")
try:
    location = importlib.util.spec_from_file_location("quarvel_for_scribus", sys.argv[1])
    module = importlib.util.module_from_spec(location)
    location.loader.exec_module(module)
    out.write("program %s\n" % module.quarvel_program())
except BaseException as error:
    out.write("error %r\n" % error)
out.close()
EOF
# Pairs the first run's back table with the dry run's front table of the new page.
cat >"$SCRATCH/compare.py" <<'EOF'
import json
import sys
written = json.load(open(sys.argv[1]))[0]
again = json.load(open(sys.argv[2]))[0]
if not written.get("written") or "error" in written:
    sys.exit("the first run wrote nothing: %s" % written)
if again.get("written") or "error" in again:
    sys.exit("the dry run: %s" % again)
def boxes(table):
    return sorted(tuple(round(row[key], 3) for key in ("top", "left", "bottom", "right", "angle"))
                  for row in table)
if boxes(again["front"]) != boxes(written["back"]):
    sys.exit("page %s holds %s, the back table was %s"
             % (written["newPage"], again["front"], written["back"]))
print("%d %d" % (written["newPage"], len(written["back"])))
EOF

check_release() {
    local release=$1 started output status new_page items listed left package
    started=$(seconds)
    echo "== Debian $release"
    package=$PWD/$(package_of "$release")
    debian_root_make "$DEBIAN_ROOTS/$release" "$release" "$root_packages"
    DATA=$SCRATCH/$release/data
    mkdir -p "$DATA"
    # apt reads the package as its own unprivileged user.
    chmod 755 "$SCRATCH" "$SCRATCH/$release" "$DATA"
    debian_root_enter "$DEBIAN_ROOTS/$release" "$SCRATCH/$release" "$release"
    ROOT=$ENTERED
    debian_root_mount "$ROOT/quarvel-check" --bind "$DATA"
    mkdir -p "$ROOT/tmp/.X11-unix"
    chmod 1777 "$ROOT/tmp" "$ROOT/tmp/.X11-unix"
    cp "$package" "$sample" "$SCRATCH/list.py" "$SCRATCH/lookup.py" "$DATA/"
    root_files >"$DATA/before.txt"

    # install
    output=$DATA/install.log
    if in_root apt-get update -q >"$output" 2>&1 &&
        in_root sh -c "cd /quarvel-check && apt-get install -y -q ./$(basename "$package")" \
            >>"$output" 2>&1; then
        result install ok "$(grep -c '^Setting up' "$output") packages set up, quarvel among them"
    else
        result install failed "$(tail -n 5 "$output" | tr '\n' ' ')"
        return
    fi

    # version
    output=$(in_root quarvel --version 2>&1) || true
    if [ "$output" = "Quarvel $version" ]; then
        result version ok "$output"
    else
        result version failed "'$output', not 'Quarvel $version'"
    fi

    # reflect, and the result read back by the tool itself
    status=0
    in_root quarvel --reflect top-bottom --json /quarvel-check/sheet.sla \
        >"$DATA/written.json" 2>"$DATA/reflect.err" || status=$?
    if [ "$status" = 0 ]; then
        cp "$DATA/sheet.sla" "$DATA/result.sla"
        in_root quarvel --reflect top-bottom --page 2 --dry-run --json /quarvel-check/sheet.sla \
            >"$DATA/again.json" 2>>"$DATA/reflect.err" || status=$?
    fi
    if [ "$status" = 0 ] && cmp -s "$DATA/sheet.sla" "$DATA/result.sla" &&
        output=$(python3 "$SCRATCH/compare.py" "$DATA/written.json" "$DATA/again.json" 2>&1); then
        read -r new_page items <<<"$output"
        result reflect ok "page $new_page written with $items items; --dry-run reads them back unchanged"
    else
        result reflect failed "status $status: ${output:-} $(cat "$DATA/reflect.err")"
        new_page=0 items=0
    fi

    # scribus: the root's own Scribus opens what the packaged program wrote
    run_scribus /quarvel-check/list.py /quarvel-check/result.sla /quarvel-check/listed.txt
    listed=$(cat "$DATA/listed.txt" 2>/dev/null || true)
    # The new page holds a copy of every item of page 1, as Scribus sees them.
    local first
    first=$(awk '$1 == "items" && $2 == 1 { print $3 }' <<<"$listed")
    if [ "$new_page" != 0 ] && grep -qx "pages $new_page" <<<"$listed" && [ "${first:-0}" -gt 0 ] &&
        grep -qx "items $new_page $first" <<<"$listed"; then
        result scribus ok "Scribus $(in_root dpkg-query -W -f="\${Version}" scribus) lists page $new_page with the $first items of page 1"
    else
        result scribus failed "Scribus lists: $(tr '\n' ' ' <<<"${listed:-nothing}")"
    fi

    # script: Scribus lists the .py files of its script folder (files only:
    # it skips symbolic links) under Script > Scribus Scripts. That folder is
    # the one holding the scripts Scribus itself ships there.
    local folder=/usr/share/scribus/scripts script=/usr/share/scribus/scripts/Quarvel.py own
    own=$(in_root dpkg-query -S "$folder/*.py" 2>/dev/null | grep -vc '^quarvel:' || true)
    run_scribus /quarvel-check/lookup.py "$script" /quarvel-check/lookup.txt
    output=$(cat "$DATA/lookup.txt" 2>/dev/null || echo "no report")
    if [ -f "$ROOT$script" ] && [ ! -L "$ROOT$script" ] && [ "$own" -gt 0 ] &&
        [ "$output" = "program /usr/bin/quarvel" ]; then
        result script ok "$script, beside Scribus's own $own menu scripts; run by Scribus, it starts /usr/bin/quarvel"
    else
        result script failed "file: $(ls -l "$ROOT$script" 2>&1); Scribus's own scripts there: $own; $output"
    fi

    # menu: the scratch folder of the case is seen in the root at the same path.
    local e2e=$SCRATCH/$release/e2e
    mkdir -p "$e2e"
    chmod 755 "$e2e"
    debian_root_mount "$ROOT$e2e" --bind "$e2e"
    if TMPDIR=$e2e SCRIBUS_ROOT=$ROOT SCRIBUS_SCRIPT=$script bash tests/e2e/scribus.sh \
        "$tools/quarvel" "$tools/quarvel_pagelist" "$sample" reflect >"$DATA/menu.log" 2>&1; then
        result menu ok "Scribus ran $script; /usr/bin/quarvel wrote page 2 and Scribus shows it"
    else
        result menu failed "$(tail -n 8 "$DATA/menu.log" | tr '\n' ' ')"
    fi

    # man
    output=$(in_root man -w quarvel 2>&1) || true
    if [ "$output" = /usr/share/man/man1/quarvel.1.gz ]; then
        result man ok "$output"
    else
        result man failed "man -w quarvel: $output"
    fi

    # desktop
    if output=$(in_root desktop-file-validate /usr/share/applications/quarvel.desktop 2>&1) &&
        [ -z "$output" ]; then
        result desktop ok "/usr/share/applications/quarvel.desktop is valid"
    else
        result desktop failed "$output"
    fi

    # remove: no file named after Quarvel, no file that names it in the
    # places a package registers itself, man finds no page, and dpkg holds no
    # record of it. (man-db's index keeps the freed bytes of a removed entry,
    # so it is asked, not searched.)
    in_root apt-get remove -y -q quarvel >"$DATA/remove.log" 2>&1 || true
    root_files >"$DATA/after.txt"
    # Finding nothing is the good outcome: grep's status 1 does not end the check.
    left=$( (comm -13 "$DATA/before.txt" "$DATA/after.txt" | grep -i quarvel
        cd "$ROOT" || exit
        grep -rlai quarvel ./etc ./usr/bin ./usr/share/applications ./usr/share/icons \
            ./usr/share/man ./usr/share/scribus ./usr/share/mime 2>/dev/null
        true) |
        sort -u | tr '\n' ' ')
    status=$(in_root dpkg-query -W -f="\${db:Status-Abbrev}" quarvel 2>/dev/null || true)
    if in_root man -w quarvel >/dev/null 2>&1; then
        left+="the manual page (man -w quarvel still finds it) "
    fi
    if [ -z "$left" ] && [ "${status:0:1}" != i ] && [ "${status:1:1}" != c ]; then
        result remove ok "apt-get remove leaves no file of Quarvel"
    else
        result remove failed "left: ${left:-none}; dpkg status '$status'"
    fi
    echo "  ($(($(seconds) - started)) s)"
    debian_root_leave
    rm -rf --one-file-system "${SCRATCH:?}/$release"
}

started=$(seconds)
for release in "${releases[@]}"; do
    check_release "$release"
done
echo "All checks took $(($(seconds) - started)) s."
[ "$FAILED" = 0 ] || die "some checks failed (above)"
echo "The packages install, work and leave cleanly on: ${releases[*]}."
