# shellcheck shell=bash
# Shared by the end-to-end tests of both windows, the Linux one (lib.sh) and
# quarvel.exe under Wine (../e2e-windows/e2e.sh): the tool's window on the
# private X server, its controls by design name and predicates on its
# screenshots. The sourcing script defines fail, WAIT_SECONDS, WORK, TOOL_PID
# and MAIN, sources scripts/lib/xvfb.sh and calls load_places; SHOT_FUZZ, when
# set, is how far a pixel may differ and still count as the same.

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

# Number of pixels that differ between two pictures; GEOMETRY (WxH+X+Y) limits
# the comparison to that part of both.
differing() {
    local crop=${3:+[$3]}
    compare -metric AE ${SHOT_FUZZ:+-fuzz "$SHOT_FUZZ"} "$1$crop" "$2$crop" null: 2>&1 || true
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
# table ("NAME LEFT TOP WIDTH HEIGHT" lines on standard input, as
# quarvel_design prints them); the previews are the two outlines.
declare -A PLACE=()
load_places() {
    local name left top width height
    while read -r name left top width height; do
        PLACE[$name]=${width}x${height}+${left}+${top}
    done
    [ -n "${PLACE[bReflect]:-}" ] || fail "no designed places of the controls"
    PLACE[front]=${PLACE[Shape1]}
    PLACE[back]=${PLACE[Shape2]}
}
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
