# shellcheck shell=bash
# Shared by the end-to-end tests. Each test is a bash script run by CTest as
#   <test>.sh QUARVEL PAGELIST SAMPLE [ARGUMENT]
# with the binaries of the build tree under test. It sources this file, which
# gives it a private X server, a scratch folder $WORK that holds a copy of the
# sample as $SHEET, and cleanup on every exit.

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

xvfb_start "$WORK"
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

# Waits for the tool's window and a first complete paint; sets MAIN.
wait_main_window() {
    MAIN=$(x_wait_window '^Quarvel$' "$WAIT_SECONDS") || fail "the tool's window did not appear"
    local geometry
    geometry=$(xdotool getwindowgeometry --shell "$MAIN")
    local width height
    IFS='x+' read -r width height _ <<<"${PLACE[window]}"
    if ! grep -q "^WIDTH=$width\$" <<<"$geometry" || ! grep -q "^HEIGHT=$height\$" <<<"$geometry"; then
        fail "the window is not $width x $height: $geometry"
    fi
    # Mapped is not yet painted.
    x_settled_shot "$MAIN" "$WORK/settled.png" || fail "the window did not settle"
}

# Waits for the tool to end and sets STATUS to its exit status. (Not a
# command substitution: only this shell can wait for its child.)
wait_exit() {
    STATUS=0
    # shellcheck disable=SC2034 # read by the tests
    wait_pid "$TOOL_PID" "$WAIT_SECONDS" || STATUS=$?
    [ "$STATUS" = 124 ] && fail "the tool did not end"
    TOOL_PID=""
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

# Number of pixels that differ between two pictures; GEOMETRY (WxH+X+Y) limits
# the comparison to that part of both.
differing() {
    local crop=${3:+[$3]}
    compare -metric AE "$1$crop" "$2$crop" null: 2>&1 || true
}

# Takes screenshots of the main window into NAME.png until PREDICATE NAME.png
# holds; fails after the timeout with WHAT.
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

# Mean of an ImageMagick fx expression over the part GEOMETRY of a picture.
measure() {
    convert "$1" -crop "$2" +repage ${4:+-colorspace "$4"} -format "%[fx:$3]" info:
}
# Blue minus red: high for the bright blue Down faces, low for the grey Up faces.
blueness() { measure "$1" "$2" 'mean.b-mean.r'; }
# Mean saturation: higher for the vivid arrow than for the pale one.
saturation() { measure "$1" "$2" 'mean.g' HSL; }
# Exit status 0 when A > B + MARGIN.
above() { awk -v a="$1" -v b="$2" -v m="${3:-0}" 'BEGIN { exit !(a > b + m) }'; }

# Predicates on a screenshot (the last argument), for shot_until.
lit() { above "$(blueness "$2" "${PLACE[$1]}")" 0.35; }
same_as() { [ "$(differing "$2" "$1")" = 0 ]; }
differs_in() { [ "$(differing "$3" "$1" "${PLACE[$2]}")" != 0 ]; }
# Exit status 0 when FILE and REF differ only inside the control PART.
only_in() { [ "$(differing "$3" "$1")" = "$(differing "$3" "$1" "${PLACE[$2]}")" ]; }

# The designed places of the controls, as WxH+X+Y, from the window's design
# table (quarvel_design beside the tool); the previews are the two outlines.
declare -A PLACE=()
while read -r name left top width height; do
    PLACE[$name]=${width}x${height}+${left}+${top}
done < <("$(dirname "$QUARVEL")/quarvel_design")
[ -n "${PLACE[bReflect]:-}" ] || fail "no designed places from quarvel_design"
PLACE[front]=${PLACE[Shape1]}
PLACE[back]=${PLACE[Shape2]}
centre() {
    local w h x y
    IFS='x+' read -r w h x y <<<"${PLACE[$1]}"
    echo "$((x + w / 2)) $((y + h / 2))"
}
# Moves the pointer onto / clicks a control by name; `background` is a bare
# place of the skin.
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

# Rectangles of page PAGE of FILE as "top left bottom right angle" lines.
rectangles() {
    "$PAGELIST" "$1" "$2" | awk '$1 == "Rectangle" { print $2, $3, $4, $5, $6 }'
}
page_count() {
    "$PAGELIST" "$1" | awk '$1 == "pages" { print $2 }'
}
