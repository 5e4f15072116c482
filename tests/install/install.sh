#!/usr/bin/env bash
# cmake --install into a scratch prefix puts the program, its manual page, a
# valid desktop entry that starts it, its icons where desktops look for them,
# and the Scribus script (in SCRIPT_DIR under the prefix), which finds the
# program installed beside it.
#   install.sh BUILD_DIR SOURCE_DIR SCRIPT_DIR
set -euo pipefail
build_dir=$1
source_dir=$2
script_dir=$3
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

cmake --install "$build_dir" --prefix "$prefix" >"$prefix/install.log" ||
    fail "cmake --install failed: $(cat "$prefix/install.log")"

program="$prefix/bin/quarvel"
desktop="$prefix/share/applications/quarvel.desktop"
icon="$prefix/share/icons/hicolor/scalable/apps/quarvel.svg"
[ -x "$program" ] || fail "no program at bin/quarvel"
"$program" --version | grep -q '^Quarvel [0-9]' || fail "the installed program does not run"
# The window module lies where the installed program looks for it: asked for
# the window, the program gets as far as Qt, which here has no platform to
# show it on and stops.
[ "$(find "$prefix" -name quarvel-window.so | wc -l)" = 1 ] || fail "no window module installed"
status=0
(ulimit -c 0 && QT_QPA_PLATFORM=none-here "$program" >/dev/null 2>"$prefix/window.log") || status=$?
grep -q 'Qt platform plugin' "$prefix/window.log" ||
    fail "the installed program did not load its window (status $status): $(cat "$prefix/window.log")"
[ -f "$desktop" ] || fail "no desktop entry at share/applications/quarvel.desktop"
[ -f "$icon" ] || fail "no icon at share/icons/hicolor/scalable/apps/quarvel.svg"
cmp -s "$icon" "$source_dir/window/artwork/logo.svg" || fail "the icon is not the logo"
for side in 16 24 32 48 64 128 256; do
    png="$prefix/share/icons/hicolor/${side}x$side/apps/quarvel.png"
    [ -f "$png" ] || fail "no ${side}x$side icon"
    # A PNG's width and height are the big-endian words at bytes 16 and 20.
    size=$(od -An -tu1 -j16 -N8 "$png" | awk '{ print $3 * 256 + $4 "x" $7 * 256 + $8 }')
    [ "$size" = "${side}x$side" ] || fail "the ${side}x$side icon is $size"
done
man_page="$prefix/share/man/man1/quarvel.1"
[ -f "$man_page" ] || fail "no manual page at share/man/man1/quarvel.1"
grep -q "^\.TH QUARVEL 1 .*\"Quarvel $("$program" --version | sed 's/^Quarvel //')\"" "$man_page" ||
    fail "the manual page does not name the program's version"
grep -qF "/$script_dir/Quarvel.py" "$man_page" || fail "the manual page does not name the script's place"

command -v desktop-file-validate >/dev/null ||
    fail "desktop-file-validate is missing; run scripts/install-deps.sh"
desktop-file-validate "$desktop" || fail "the desktop entry does not validate"

entry() { sed -n "s/^$1=//p" "$desktop"; }
[ "$(entry Exec)" = "quarvel %F" ] || fail "Exec is '$(entry Exec)'"
[ "$(entry Icon)" = quarvel ] || fail "Icon '$(entry Icon)' is not the installed icon's name"
for category in Graphics Publishing; do
    grep -q "^Categories=\(.*;\)\?$category;" "$desktop" || fail "not in the $category category"
done
grep -q '^MimeType=.*application/vnd.scribus;' "$desktop" || fail "does not offer to open .sla files"
script="$prefix/$script_dir/Quarvel.py"
[ -f "$script" ] && [ ! -L "$script" ] || fail "no Scribus script (a file) at $script_dir/Quarvel.py"
python3 -c 'import ast, sys; ast.parse(open(sys.argv[1]).read())' "$script" ||
    fail "the Scribus script is not valid Python"
# The script runs inside Scribus; here its lookup runs alone, with a stand-in
# for Scribus's module, no $QUARVEL and no quarvel on the PATH.
found=$(env -u QUARVEL PATH=/usr/bin:/bin python3 - "$script" <<'PY'
import importlib.util, sys, types
sys.modules["scribus"] = types.ModuleType("scribus")
location = importlib.util.spec_from_file_location("quarvel_for_scribus", sys.argv[1])
module = importlib.util.module_from_spec(location)
location.loader.exec_module(module)
print(module.quarvel_program())
PY
) || fail "the Scribus script cannot look for the program"
[ "$found" = "$program" ] || fail "the Scribus script finds '$found', not the installed $program"
echo PASS
