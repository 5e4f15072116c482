#!/usr/bin/env bash
# null-prefix.sh start|stop PREFIX
# start: makes PREFIX a booted Wine prefix whose graphics driver is the null
# driver (windows without an X server) and keeps its wineserver running, so
# that the test programs do not each pay Wine's start-up.
# stop: ends that wineserver.
set -euo pipefail
action=$1
export WINEPREFIX=$2 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
case $action in
start)
  if [ ! -f "$WINEPREFIX/.quarvel-null" ]; then
    rm -rf "$WINEPREFIX"
    timeout 240 wineboot -i
    timeout 60 wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null
    timeout 60 wineserver -w
    touch "$WINEPREFIX/.quarvel-null"
  fi
  # Detached from the caller's output, which a test runner waits on.
  wineserver -p </dev/null >/dev/null 2>&1
  ;;
stop)
  wineserver -k || true
  ;;
*)
  echo "usage: $0 start|stop PREFIX" >&2
  exit 2
  ;;
esac
