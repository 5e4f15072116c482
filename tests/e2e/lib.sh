# shellcheck shell=bash
# Shared by the end-to-end tests. Each test is a bash script run by CTest as
#   <test>.sh QUARVEL PAGELIST SAMPLE [ARGUMENT]
# with the binaries of the build tree under test. It sources this file, which
# gives it a private X server, a scratch folder $WORK that holds a copy of the
# sample as $SHEET, and cleanup on every exit. A test that sets
# E2E_DISPLAY=none before sourcing it gets no X server and no display at all:
# DISPLAY and WAYLAND_DISPLAY are unset, and Qt is told to use X, so anything
# that tries to open a window fails.

set -euo pipefail

E2E_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=scripts/lib/xvfb.sh
source "$E2E_DIR/../../scripts/lib/xvfb.sh"

QUARVEL=$1
PAGELIST=$2
SAMPLE=$3
# shellcheck disable=SC2034 # read by the tests
ARGUMENT=${4:-}
readonly WAIT_SECONDS=60 # generous: sanitizer builds on a loaded machine start slowly

# The tool returns from main, releasing what it holds: sanitizer builds check
# for leaks at its end (see lsan.supp for what the system's libraries keep).
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$E2E_DIR/../lsan.supp:print_suppressions=0}

WORK=$(mktemp -d)
SHEET="$WORK/sheet.sla"
TOOL_PID=""
MAIN=""
CLEANUP_HOOKS=()

e2e_cleanup() {
    local hook
    for hook in "${CLEANUP_HOOKS[@]}"; do
        "$hook" || true
    done
    stop_pid "$TOOL_PID"
    xvfb_stop
    rm -rf "$WORK"
}
trap e2e_cleanup EXIT
trap 'exit 130' INT TERM

fail() {
    echo "FAIL: $*" >&2
    if [ -s "$WORK/tool.err" ]; then
        sed 's/^/  tool stderr: /' "$WORK/tool.err" >&2
    fi
    exit 1
}

# Prints the message and ends the test as skipped (CTest's SKIP_RETURN_CODE).
skip() {
    echo "SKIP: $*"
    exit 77
}

if [ "${E2E_DISPLAY:-}" = none ]; then
    unset DISPLAY WAYLAND_DISPLAY
    export QT_QPA_PLATFORM=xcb
else
    xvfb_start "$WORK"
fi
cp "$SAMPLE" "$SHEET"

# Starts the tool in the background with the given arguments.
start_tool() {
    "$QUARVEL" "$@" >"$WORK/tool.out" 2>"$WORK/tool.err" &
    TOOL_PID=$!
}

# An ordinary user's folder, $WORK/user, and the tool run as that user: when
# the tests run as root, whom permissions do not bind, the user is nobody.
# give FILE... hands files made for that user over to them.
user_folder() {
    mkdir -p "$WORK/user/tmp"
    if [ "$(id -u)" = 0 ]; then
        chmod 711 "$WORK"
        chown -R 65534:65534 "$WORK/user"
    fi
}
give() {
    if [ "$(id -u)" = 0 ]; then
        chown -h 65534:65534 "$@"
    fi
}
# Like start_tool, as that user, with $WORK/user/tmp for temporary files.
start_tool_as_user() {
    local as_user=()
    if [ "$(id -u)" = 0 ]; then
        mkdir -p "$WORK/user/runtime"
        chmod 700 "$WORK/user/runtime"
        give "$WORK/user/runtime"
        as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups
            env HOME="$WORK/user" XDG_RUNTIME_DIR="$WORK/user/runtime")
    fi
    TMPDIR="$WORK/user/tmp" "${as_user[@]}" "$QUARVEL" "$@" >"$WORK/tool.out" 2>"$WORK/tool.err" &
    TOOL_PID=$!
}

# Waits for the message box captioned "Quarvel 0-3" and closes it with Return
# (the box has the keyboard focus).
answer_message_box() {
    x_wait_window '^Quarvel 0-3$' "$WAIT_SECONDS" >/dev/null || fail "no message box appeared"
    xdotool key Return
}

# Watches in the background until the end of the test for the main window to
# be shown; main_window_seen tells whether it ever was.
watch_main_window() {
    (
        while :; do
            if xdotool search --onlyvisible --name '^Quarvel$' >/dev/null 2>&1; then
                touch "$WORK/main-window-seen"
            fi
            sleep 0.05
        done
    ) &
    WATCH_PID=$!
    CLEANUP_HOOKS+=(stop_watch)
}
stop_watch() {
    if [ -n "${WATCH_PID:-}" ]; then
        kill "$WATCH_PID" 2>/dev/null || true
        wait "$WATCH_PID" 2>/dev/null || true
        WATCH_PID=""
    fi
}
main_window_seen() { [ -e "$WORK/main-window-seen" ]; }

# The window, its controls and its screenshots.
# shellcheck source=window.sh
source "$E2E_DIR/window.sh"
load_places < <("$(dirname "$QUARVEL")/quarvel_design")

# Rectangles of page PAGE of FILE as "top left bottom right angle" lines.
rectangles() {
    "$PAGELIST" "$1" "$2" | awk '$1 == "Rectangle" { print $2, $3, $4, $5, $6 }'
}
page_count() {
    "$PAGELIST" "$1" | awk '$1 == "pages" { print $2 }'
}

# Checks that BACK (lines "top left bottom right angle") is FRONT turned
# DIRECTION (left-right or top-bottom) on a sheet WIDTH x HEIGHT, line by line,
# by the tool's mirror rules; prints each line that is not and fails.
#   mirrored FRONT BACK DIRECTION WIDTH HEIGHT
mirrored() {
    [ "$(wc -l <<<"$1")" = "$(wc -l <<<"$2")" ] || {
        echo "$(wc -l <<<"$1") front rectangles, $(wc -l <<<"$2") back" >&2
        return 1
    }
    paste -d ' ' <(echo "$1") <(echo "$2") | awk -v direction="$3" -v W="$4" -v H="$5" '
    function reflect(a) {
        if (direction == "left-right") return (a > 0 && a < 360 && a != 180) ? 360 - a : a
        if (a == 0 || a == 180) return 180 - a
        return (a == 90 || a == 270) ? a : 360 - a
    }
    function near(a, b) { return (a - b < 1e-6 && b - a < 1e-6) }
    {
        if (direction == "left-right") { t = $1; l = W - $4; b = $3; r = W - $2 }
        else { t = H - $3; l = $2; b = H - $1; r = $4 }
        a = reflect($5)
        if (NF != 10 || !near($6, t) || !near($7, l) || !near($8, b) || !near($9, r) ||
            !near($10, a)) {
            printf "rectangle %d: front %s %s %s %s %s, back %s %s %s %s %s, expected %g %g %g %g %g\n",
                NR, $1, $2, $3, $4, $5, $6, $7, $8, $9, $10, t, l, b, r, a
            bad = 1
        }
    }
    END { exit bad }' >&2
}
