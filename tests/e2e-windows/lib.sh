# shellcheck shell=bash
# Helpers for running Windows programs under Wine on a private X server and
# driving them with xdotool. Source this file from a bash script that uses
# `set -euo pipefail`; it sources scripts/lib/xvfb.sh for the X server side.
#
#   wine_session PREFIX     a scratch folder $WORK, a private Xvfb, and Wine on
#                           the booted prefix PREFIX with a wineserver of its
#                           own that was started after the X server, so that
#                           windows reach this display; on exit the programs,
#                           the wineserver, Xvfb and the folder go away
#   wine_boot PREFIX        boot PREFIX once (no display needed; ends its
#                           wineserver again so a later session starts afresh)
#   wine_start NAME EXE [ARGS...]
#                           start EXE in the background; its pid in $NAME_PID
#                           (for example TOOL_PID), its output in $WORK/NAME.log
#   wine_run EXE [ARGS...]  run EXE to its end, with a time limit
#   wine_wait_gone REGEX [S]
#                           wait until no visible window's name matches REGEX
#   shots_differ A B DIFF   compare two screenshots of the same size: the share
#                           of pixels (per cent) that differ by more than 10 %,
#                           and DIFF showing where
#   assert_similar A B DIFF MAX_PERCENT
#                           fail when more than MAX_PERCENT of the pixels differ
# The xvfb.sh helpers (x_wait_window, x_shot, x_settled_shot, x_click, x_move,
# stop_pid, wait_pid) work on the Wine windows as they do on native ones.

# shellcheck source=../../scripts/lib/xvfb.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/xvfb.sh"

WINE_TIMEOUT=${QUARVEL_WINE_TIMEOUT:-120}

wine_env() {
  export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
}

wine_boot() {
  (
    wine_env "$1"
    unset DISPLAY WAYLAND_DISPLAY
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      timeout 300 wineboot -i </dev/null >/dev/null 2>&1
    fi
    wineserver -k 2>/dev/null || true
    timeout 60 wineserver -w 2>/dev/null || true
  )
}

wine_session() {
  WORK=$(mktemp -d)
  TOOL_PID=""
  trap wine_session_end EXIT
  trap 'exit 130' INT TERM
  wine_env "$1"
  # A wineserver left from another display would keep its windows there.
  wineserver -k 2>/dev/null || true
  timeout 60 wineserver -w 2>/dev/null || true
  xvfb_start "$WORK"
}

wine_session_end() {
  stop_pid "$TOOL_PID"
  wineserver -k 2>/dev/null || true
  xvfb_stop
  rm -rf "$WORK"
}

wine_start() {
  local name=$1
  shift
  timeout "$WINE_TIMEOUT" wine "$@" </dev/null >"$WORK/$name.log" 2>&1 &
  printf -v "${name^^}_PID" '%s' "$!"
}

wine_run() {
  local log status=0
  log=$(mktemp)
  timeout "$WINE_TIMEOUT" wine "$@" </dev/null >"$log" 2>&1 || status=$?
  # Windows programs end their lines with CR LF.
  grep -v -e 'wine32 is missing' -e 'multiarch needs' -e 'dpkg --add-architecture' \
    -e 'apt-get install wine32' "$log" | tr -d '\r' || true
  rm -f "$log"
  return "$status"
}

wine_wait_gone() {
  local pattern=$1 seconds=${2:-30} tries
  for ((tries = 0; tries < seconds * 5; tries++)); do
    xdotool search --onlyvisible --name "$pattern" >/dev/null 2>&1 || return 0
    sleep 0.2
  done
  return 1
}

shots_differ() {
  local pixels total
  for picture in "$1" "$2"; do
    [ -s "$picture" ] || { echo "shots_differ: no picture $picture" >&2; return 1; }
  done
  # Pictures of other sizes do not compare: compare says why instead of a count.
  pixels=$(compare -metric AE -fuzz 10% "$1" "$2" "$3" 2>&1 || true)
  if ! [[ $pixels =~ ^[0-9]+(\.[0-9]+)?(e\+?[0-9]+)?$ ]]; then
    echo "shots_differ: $(basename "$1") and $(basename "$2") do not compare: $pixels" >&2
    return 1
  fi
  total=$(identify -format '%[fx:w*h]' "$1")
  awk -v p="$pixels" -v t="$total" 'BEGIN { printf "%.2f\n", 100 * p / t }'
}

assert_similar() {
  local percent
  percent=$(shots_differ "$1" "$2" "$3") || return 1
  if awk -v p="$percent" -v m="$4" 'BEGIN { exit !(p > m) }'; then
    echo "$(basename "$1") and $(basename "$2") differ in $percent % of their pixels" \
      "(at most $4 % allowed); see $3" >&2
    return 1
  fi
  echo "$(basename "$1") and $(basename "$2") differ in $percent % of their pixels"
}
