# shellcheck shell=bash
# Shared by the Windows end-to-end tests. Each test is a bash script run by
# CTest as
#   <test>.sh QUARVEL_EXE TEST_HOST CONTROL INSPECT PLACES PREFIX PICTURES
# with quarvel.exe, the test host (tests/com-server), quarvel_host_control,
# quarvel_inspect, the designed places of the controls ("NAME LEFT TOP WIDTH
# HEIGHT" lines), the booted Wine prefix in which the test host is registered
# and a folder for the screenshots and difference pictures it keeps. It
# sources this file, which gives it a private X server, a fresh wineserver on
# it, a scratch folder $WORK and cleanup on every exit.

set -euo pipefail

E2E_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=lib.sh
source "$E2E_DIR/lib.sh"

QUARVEL_EXE=$1
TEST_HOST=$2
CONTROL=$3
INSPECT=$4
PLACES=$5
readonly WAIT_SECONDS=90 # Wine starts slowly on a loaded machine
PICTURES=$7
REFERENCE="$E2E_DIR/../../docs/screenshots"
mkdir -p "$PICTURES"
MAIN=""

wine_session "$6"

fail() {
  echo "FAIL: $*" >&2
  if [ -s "$WORK/tool.log" ]; then
    grep -v -e 'wine32' -e 'multiarch' -e 'dpkg --add' -e 'apt-get install' "$WORK/tool.log" |
      sed 's/^/  tool output: /' >&2 || true
  fi
  exit 1
}

# The test host: documents from a sheet (host/memory/SheetText.h), read back.
host_load() { wine_run "$CONTROL" load "$1" >/dev/null || fail "the test host did not load $1"; }
host_dump() { wine_run "$CONTROL" dump || fail "the test host did not answer"; }
host_calls() { wine_run "$CONTROL" calls || fail "the test host did not answer"; }
host_fail_on() { wine_run "$CONTROL" fail "$@" >/dev/null || fail "the test host refused"; }
host_zero_point() { wine_run "$CONTROL" zero "$@" >/dev/null || fail "the test host refused"; }

start_tool() { wine_start tool "$QUARVEL_EXE" "$@"; }

# Keeps screenshot SHOT as PICTURES/NAME.png and checks it against the Linux
# window's REFERENCE/LINUX.png: at most 1.5 % of the pixels may differ (fonts
# and smoothing); the difference picture is kept beside it as NAME-diff.png.
matches_linux() {
  local shot=$1 name=$2 linux=$3
  cp "$shot" "$PICTURES/$name.png"
  assert_similar "$REFERENCE/$linux.png" "$PICTURES/$name.png" "$PICTURES/$name-diff.png" 1.5 ||
    fail "the window differs from the Linux window; see $PICTURES/$name-diff.png"
}

# The message box captioned "Quarvel 0-3" as quarvel_inspect reads it
# (caption=, text=, buttons=, icon=, main=); PRESS=--press-ok answers it.
read_message_box() {
  wine_run "$INSPECT" box "Quarvel 0-3" "$WAIT_SECONDS" ${1:-} || fail "no message box appeared"
}

# The window, its controls and its screenshots; a repainted picture under Wine
# may differ by a shade.
SHOT_FUZZ=2%
# shellcheck source=../e2e/window.sh
source "$E2E_DIR/../e2e/window.sh"
load_places <"$PLACES"

# The rectangles of the host's page PAGE (1-based, in document order) as
# "top left bottom right angle" lines, angles taken modulo 360.
rectangles() {
  awk -v want="$2" '$1 == "page" { page++ } page == want && $1 == "rectangle" {
      a = $7 % 360; if (a < 0) a += 360; print $3, $4, $5, $6, a }' "$1"
}
page_count() { grep -c '^ *page$' "$1" || true; }
