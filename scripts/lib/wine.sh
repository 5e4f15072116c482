#!/usr/bin/env bash
# Runs Windows programs under Wine for the tests: one prefix per build folder, booted once, one
# wineserver shared by the programs of a test run and stopped at its end, every Wine call under a
# time limit. CTest calls it through cmake/QuarvelWine.cmake; scripts may too.
#
#   WINEPREFIX=DIR wine.sh boot                  boot the prefix unless it was booted before,
#                                                then start the wineserver the run shares
#   WINEPREFIX=DIR wine.sh run SECONDS PROGRAM [ARGUMENTS...]
#                                                run a Windows program, killed after SECONDS
#   WINEPREFIX=DIR wine.sh stop                  end the wineserver and every program of the prefix
#
# The first Wine process of a wineserver fixes the prefix's desktop, DISPLAY included: a GUI run
# under Xvfb must boot (or stop and boot again) with that DISPLAY set. Without DISPLAY nothing is
# shown, which is all that COM needs.
set -euo pipefail

: "${WINEPREFIX:?wine.sh needs WINEPREFIX}"
export WINEPREFIX
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko installer prompts in a fresh prefix.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

own_mark="$WINEPREFIX/.quarvel-prefix"
booted_mark="$WINEPREFIX/.quarvel-booted"

boot() {
    if [ ! -e "$booted_mark" ]; then
        # Only a prefix this script made is ever removed: a boot that broke off starts again.
        if [ -e "$own_mark" ]; then
            rm -rf "$WINEPREFIX"
        elif [ -d "$WINEPREFIX" ] && [ -n "$(ls -A "$WINEPREFIX")" ]; then
            echo "wine.sh: $WINEPREFIX is not a prefix made by this script; choose another" >&2
            exit 1
        fi
        echo "Booting the Wine prefix $WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        touch "$own_mark"
        timeout -k 10 600 wineboot -i </dev/null
        # COM activation right after the boot hangs while the boot session restarts services:
        # wait until every process of the boot has ended.
        timeout -k 10 300 wineserver -w </dev/null
        touch "$booted_mark"
    fi
    # One wineserver for the whole run; it leaves on its own 10 minutes after its last program
    # should the run never stop it. Its output must not hold the caller's pipes open.
    timeout -k 5 60 wineserver -p600 </dev/null >/dev/null 2>&1 || true
}

# The program's output goes through a file: Wine's helper processes (services, rpcss) started
# by a program inherit its output and outlive it, and would hold a caller's pipe open.
run() {
    local seconds=$1 output status=0
    shift
    output=$(mktemp)
    timeout -k 10 "$seconds" wine "$@" </dev/null >"$output" 2>&1 || status=$?
    cat "$output"
    rm -f "$output"
    if [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
        echo "wine.sh: $1 did not end within $seconds s" >&2
    fi
    return "$status"
}

stop() {
    timeout -k 5 60 wineserver -k </dev/null >/dev/null 2>&1 || true
    timeout -k 5 60 wineserver -w </dev/null >/dev/null 2>&1 || true
}

command=${1:-}
shift || true
case "$command" in
    boot) boot ;;
    run) run "$@" ;;
    stop) stop ;;
    *)
        echo "usage: WINEPREFIX=DIR $0 boot | run SECONDS PROGRAM [ARGUMENTS...] | stop" >&2
        exit 2
        ;;
esac
