#!/usr/bin/env bash
# run.sh PROGRAM.exe [ARGS...]
# Runs a Windows program through Wine and passes on its output and status.
# Wine's helper processes (services, the desktop) inherit the program's
# output and may outlive it; they get a file, never the caller's pipe, so a
# test runner waiting for end of output is not held up by them.
set -euo pipefail
log=$(mktemp)
trap 'rm -f "$log"' EXIT
status=0
timeout "${QUARVEL_WINE_TIMEOUT:-240}" wine "$@" </dev/null >"$log" 2>&1 || status=$?
grep -v -e 'wine32 is missing' -e 'multiarch needs' -e 'dpkg --add-architecture' \
  -e 'apt-get install wine32' "$log" || true
exit "$status"
