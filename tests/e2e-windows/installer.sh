#!/usr/bin/env bash
# The installer installs silently: quarvel.exe (the very file built) under
# Program Files, a Start-menu entry and an uninstaller registered with Apps &
# features, both showing the version and the publisher the build gives; the
# uninstaller removes all of it, silently too.
#   installer.sh SETUP_EXE QUARVEL_EXE PREFIX VERSION PUBLISHER
set -euo pipefail
source "$(dirname "$0")/lib.sh"

SETUP=$1
QUARVEL_EXE=$2
wine_env "$3"
VERSION=$4
PUBLISHER=$5
WORK=$(mktemp -d)
trap 'wineserver -k 2>/dev/null || true; rm -rf "$WORK"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

folder="$WINEPREFIX/drive_c/Program Files/Quarvel"
shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Quarvel.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quarvel'

wine_run "$SETUP" /S || fail "the installer failed"
cmp "$QUARVEL_EXE" "$folder/quarvel.exe" || fail "quarvel.exe was not installed as built"
[ -f "$folder/uninstall.exe" ] || fail "no uninstaller"
[ -f "$shortcut" ] || fail "no Start-menu entry"
strings -e l "$shortcut" | grep -qF "Quarvel $VERSION by $PUBLISHER" ||
  fail "the Start-menu entry does not name version $VERSION and publisher $PUBLISHER"
wine_run reg query "$key" >"$WORK/key.txt" || fail "not registered with Apps & features"
grep -q 'DisplayName.*Quarvel' "$WORK/key.txt" || fail "no display name: $(cat "$WORK/key.txt")"
grep -q 'UninstallString.*uninstall.exe' "$WORK/key.txt" || fail "no uninstall command"
grep -qE "DisplayVersion +REG_SZ +$VERSION\s*\$" "$WORK/key.txt" || fail "no version $VERSION"
grep -qE "Publisher +REG_SZ +$PUBLISHER\s*\$" "$WORK/key.txt" || fail "no publisher $PUBLISHER"

wine_run "$folder/uninstall.exe" /S || fail "the uninstaller failed"
# The uninstaller runs on from a copy of itself and returns at once.
for ((tries = 0; tries < 300; tries++)); do
  [ ! -e "$folder" ] && [ ! -e "$shortcut" ] && break
  sleep 0.2
done
[ ! -e "$folder" ] || fail "the program folder is still there: $(ls "$folder")"
[ ! -e "$shortcut" ] || fail "the Start-menu entry is still there"
wine_run reg query "$key" >/dev/null 2>&1 && fail "still registered with Apps & features"
echo "PASS"
