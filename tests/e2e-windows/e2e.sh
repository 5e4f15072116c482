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

start_tool() { wine_start tool "$QUARVEL_EXE"; }

# Waits for the tool's window, checks its size and waits for a full paint; sets MAIN.
wait_main_window() {
  MAIN=$(x_wait_window '^Quarvel$' "$WAIT_SECONDS") || fail "the tool's window did not appear"
  local geometry width height
  geometry=$(xdotool getwindowgeometry --shell "$MAIN")
  IFS='x+' read -r width height _ <<<"${PLACE[window]}"
  if ! grep -q "^WIDTH=$width\$" <<<"$geometry" || ! grep -q "^HEIGHT=$height\$" <<<"$geometry"; then
    fail "the window is not $width x $height: $geometry"
  fi
  x_settled_shot "$MAIN" "$WORK/settled.png" || fail "the window did not settle"
}

# Waits for the tool to end; its exit status in STATUS.
wait_exit() {
  STATUS=0
  wait_pid "$TOOL_PID" "$WAIT_SECONDS" || STATUS=$?
  [ "$STATUS" = 124 ] && fail "the tool did not end"
  TOOL_PID=""
}

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

differing() {
  local crop=${3:+[$3]}
  compare -metric AE -fuzz 2% "$1$crop" "$2$crop" null: 2>&1 || true
}
shot_until() {
  local name=$1 what=$2 tries
  shift 2
  for ((tries = 0; tries < WAIT_SECONDS * 5; tries++)); do
    x_shot "$MAIN" "$WORK/$name.png"
    "$@" "$WORK/$name.png" && return 0
    sleep 0.2
  done
  fail "$what"
}
measure() {
  convert "$1" -crop "$2" +repage ${4:+-colorspace "$4"} -format "%[fx:$3]" info:
}
blueness() { measure "$1" "$2" 'mean.b-mean.r'; }
saturation() { measure "$1" "$2" 'mean.g' HSL; }
above() { awk -v a="$1" -v b="$2" -v m="${3:-0}" 'BEGIN { exit !(a > b + m) }'; }
lit() { above "$(blueness "$2" "${PLACE[$1]}")" 0.35; }
same_as() { [ "$(differing "$2" "$1")" = 0 ]; }
differs_in() { [ "$(differing "$3" "$1" "${PLACE[$2]}")" != 0 ]; }
only_in() { [ "$(differing "$3" "$1")" = "$(differing "$3" "$1" "${PLACE[$2]}")" ]; }

declare -A PLACE=()
while read -r name left top width height; do
  PLACE[$name]=${width}x${height}+${left}+${top}
done <"$PLACES"
[ -n "${PLACE[bReflect]:-}" ] || fail "no designed places in $PLACES"
PLACE[front]=${PLACE[Shape1]}
PLACE[back]=${PLACE[Shape2]}
centre() {
  local w h x y
  IFS='x+' read -r w h x y <<<"${PLACE[$1]}"
  echo "$((x + w / 2)) $((y + h / 2))"
}
point_at() {
  local x=10 y=300
  if [ "$1" != background ]; then
    read -r x y < <(centre "$1")
  fi
  x_move "$MAIN" "$x" "$y"
}
click_on() {
  point_at "$1"
  xdotool click 1
}

# The rectangles of the host's page PAGE (1-based, in document order) as
# "top left bottom right angle" lines, angles taken modulo 360.
rectangles() {
  awk -v want="$2" '$1 == "page" { page++ } page == want && $1 == "rectangle" {
      a = $7 % 360; if (a < 0) a += 360; print $3, $4, $5, $6, a }' "$1"
}
page_count() { grep -c '^ *page$' "$1" || true; }
