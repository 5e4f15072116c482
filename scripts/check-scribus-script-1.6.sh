#!/usr/bin/env bash
# Runs the end-to-end cases of the Scribus script (tests/e2e/scribus.sh) with
# Scribus 1.6.3 instead of this machine's 1.5.8. Run by hand, as root (it
# mounts and chroots); it needs the Debian 13 root with Scribus 1.6.3 that the
# README describes, and a build (build/, or $QUARVEL_BUILD_DIR).
#
#   scripts/check-scribus-script-1.6.sh ROOT [CASE...]
#
# Scribus runs in the root, on the private X server of each case. The built
# tool runs in the root too, as the script starts it there: the libraries it
# needs that the root lacks (Qt 6 and its X plugin, pugixml) are copied
# beside it into the scratch folder, which the root sees at the same path.
set -euo pipefail
cd "$(dirname "$0")/.."

die() {
    echo "check-scribus-script-1.6.sh: $*" >&2
    exit 1
}
[ $# -ge 1 ] || die "usage: scripts/check-scribus-script-1.6.sh ROOT [CASE...]"
# shellcheck source=scripts/lib/scribus-root.sh
source scripts/lib/scribus-root.sh
OUT=$(mktemp -d)
trap 'scribus_root_close; rm -rf "$OUT"' EXIT
scribus_root_open "$1"
shift
cases=("$@")
[ ${#cases[@]} -gt 0 ] || cases=(reflect compressed forget error cancel no-program)
build_dir=$(realpath "${QUARVEL_BUILD_DIR:-build}")
[ -x "$build_dir/quarvel" ] || die "no $build_dir/quarvel: build first (scripts/build.sh)"

chmod 1777 "$ROOT/tmp"
# The scratch folder at the same path in the root: every case's folder is made in it.
scribus_root_mount "$ROOT$OUT" --bind "$OUT"

# The tool and what it needs beyond the root's own libraries.
mkdir -p "$OUT/quarvel/lib" "$OUT/quarvel/plugins/platforms"
cp "$build_dir/quarvel" "$OUT/quarvel/"
qt_plugins=$(dirname "$(ldd "$build_dir/quarvel" | awk '/libQt6Core/ { print $3 }')")/qt6/plugins
cp "$qt_plugins/platforms/libqxcb.so" "$OUT/quarvel/plugins/platforms/"
chroot "$ROOT" ldconfig -p | awk 'NR > 1 { print $1 }' | sort -u >"$OUT/root-libraries"
for binary in "$build_dir/quarvel" "$qt_plugins/platforms/libqxcb.so"; do
    ldd "$binary" | awk '$3 ~ /^\// { print $1, $3 }'
done | sort -u | while read -r name path; do
    grep -qxF "$name" "$OUT/root-libraries" || cp -L "$path" "$OUT/quarvel/lib/"
done
cat >"$OUT/quarvel/run" <<RUN
#!/bin/sh
export LD_LIBRARY_PATH=$OUT/quarvel/lib QT_PLUGIN_PATH=$OUT/quarvel/plugins
exec $OUT/quarvel/quarvel "\$@"
RUN
chmod 755 "$OUT" "$OUT/quarvel" "$OUT/quarvel/run"
echo "Beside the tool for the root:" "$OUT"/quarvel/lib/*

failed=0
for case in "${cases[@]}"; do
    echo "== $case"
    if ! TMPDIR=$OUT SCRIBUS_ROOT=$ROOT SCRIBUS_QUARVEL=$OUT/quarvel/run \
        bash tests/e2e/scribus.sh "$build_dir/quarvel" "$build_dir/quarvel_pagelist" \
        "$PWD/samples/sheet.sla" "$case"; then
        failed=1
    fi
done
[ "$failed" = 0 ] || die "some cases fail with Scribus 1.6.3"
echo "Every case passes with Scribus 1.6.3."
