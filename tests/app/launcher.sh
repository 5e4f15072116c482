#!/usr/bin/env bash
# The launcher never loads Qt: it does not link it, its batch mode, --help and
# --version run without the window module, and it loads the module only for
# the window, saying so plainly when the module is missing or broken.
#   launcher.sh PROGRAM SAMPLE.sla
set -euo pipefail
program=$1
sample=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

needed=$(readelf -d "$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
[ -n "$needed" ] || fail "readelf lists no library the program needs"
if grep -i 'qt' <<<"$needed"; then
    fail "the launcher links Qt"
fi

# The program alone in a folder, without its window module.
cp "$program" "$scratch/quarvel"
cp "$sample" "$scratch/sheet.sla"
"$scratch/quarvel" --version | grep -q '^Quarvel [0-9]' || fail "--version needs the window module"
"$scratch/quarvel" --reflect left-right --dry-run "$scratch/sheet.sla" >"$scratch/tables" ||
    fail "the batch mode needs the window module"
grep -q . "$scratch/tables" || fail "the batch mode printed no table"
cmp -s "$sample" "$scratch/sheet.sla" || fail "the dry run changed the document"

window_fails_with() { # window_fails_with TEXT: the window ends with status 1 and says TEXT
    local status=0
    "$scratch/quarvel" "$scratch/sheet.sla" 2>"$scratch/error" || status=$?
    [ "$status" = 1 ] || fail "the window without its module ended with status $status"
    grep -qF "$1" "$scratch/error" || fail "the window said '$(cat "$scratch/error")', not '$1'"
    cmp -s "$sample" "$scratch/sheet.sla" || fail "the document changed"
}
window_fails_with "quarvel: Quarvel's window is missing: there is no quarvel-window.so in"
# Not a module at all.
echo "not a module" >"$scratch/quarvel-window.so"
window_fails_with "quarvel: Quarvel cannot load its window ($scratch/quarvel-window.so):"
echo PASS
