# shellcheck shell=bash
# Helpers for running the tool on a private X server (Xvfb) and driving it with
# xdotool. Source this file from a bash script that uses `set -euo pipefail`
# and calls xvfb_stop from its EXIT trap.
#
#   xvfb_start WORK_DIR      start Xvfb on a free display; exports DISPLAY and a
#                            reproducible Qt setup (xcb, 96 dpi, no scaling);
#                            its screen is 1280x800x24 unless XVFB_SCREEN says
#                            otherwise (a window at 200 % needs a larger one)
#   xvfb_stop                stop it again (safe to call twice)
#   x_wait_window REGEX [S]  print the id of the first visible window whose name
#                            matches REGEX, waiting up to S seconds (default 30)
#   x_shot WINDOW OUT.png    screenshot of one window
#   x_settled_shot WINDOW OUT.png
#                            screenshot once the window has stopped changing
#   x_changed_shot WINDOW REF.png OUT.png
#                            screenshot once the window differs from REF.png
#   x_click WINDOW X Y       move the pointer to X,Y in the window and click
#   x_move WINDOW X Y        move the pointer to X,Y in the window
#   xvfb_session             for a script that runs the tool once: a scratch
#                            folder $WORK, and on exit the tool ($TOOL_PID),
#                            Xvfb and the folder go away
#   stop_pid PID             end a process started in the background, if it runs
#   wait_pid PID SECONDS     wait for a background process to end; its exit
#                            status, or 124 if it still runs after SECONDS

XVFB_PID=""

xvfb_start() {
    local work=$1 tries
    export XDG_RUNTIME_DIR="$work/runtime"
    mkdir -p "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
    # Xvfb picks a free display itself and writes its number once it is ready.
    # -noreset: no reset (and refused connections) whenever the last client leaves.
    Xvfb -displayfd 3 -screen 0 "${XVFB_SCREEN:-1280x800x24}" -nolisten tcp -noreset 3>"$work/xvfb.display" \
        2>"$work/xvfb.log" &
    XVFB_PID=$!
    for ((tries = 0; tries < 300; tries++)); do
        [ -s "$work/xvfb.display" ] && break
        if ! kill -0 "$XVFB_PID" 2>/dev/null; then
            echo "Xvfb did not start: $(cat "$work/xvfb.log")" >&2
            return 1
        fi
        sleep 0.1
    done
    if [ ! -s "$work/xvfb.display" ]; then
        echo "Xvfb did not report a display" >&2
        return 1
    fi
    DISPLAY=":$(head -n 1 "$work/xvfb.display")"
    export DISPLAY
    unset WAYLAND_DISPLAY QT_FONT_DPI QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_QPA_PLATFORMTHEME
    export QT_QPA_PLATFORM=xcb QT_ENABLE_HIGHDPI_SCALING=0
}

xvfb_stop() {
    stop_pid "$XVFB_PID"
    XVFB_PID=""
}

xvfb_session() {
    WORK=$(mktemp -d)
    TOOL_PID=""
    trap xvfb_session_end EXIT
    trap 'exit 130' INT TERM
}

xvfb_session_end() {
    stop_pid "$TOOL_PID"
    xvfb_stop
    rm -rf "$WORK"
}

stop_pid() {
    if [ -n "${1:-}" ] && kill -0 "$1" 2>/dev/null; then
        kill "$1" 2>/dev/null || true
        wait "$1" 2>/dev/null || true
    fi
}

wait_pid() {
    local tries
    for ((tries = 0; tries < $2 * 10; tries++)); do
        kill -0 "$1" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$1" 2>/dev/null && return 124
    wait "$1"
}

x_wait_window() {
    local pattern=$1 seconds=${2:-30} id
    id=$(timeout "$seconds" xdotool search --sync --onlyvisible --name "$pattern" | head -n 1) || true
    [ -n "$id" ] || return 1
    echo "$id"
}

x_shot() {
    import -window "$1" "$2"
}

x_settled_shot() {
    local tries
    x_shot "$1" "$2"
    for ((tries = 0; tries < 100; tries++)); do
        sleep 0.1
        x_shot "$1" "$2.next.png"
        if [ "$(compare -metric AE "$2" "$2.next.png" null: 2>&1 || true)" = 0 ]; then
            rm -f "$2.next.png"
            return 0
        fi
        mv "$2.next.png" "$2"
    done
    echo "the window did not stop changing" >&2
    return 1
}

x_changed_shot() {
    local tries
    for ((tries = 0; tries < 150; tries++)); do
        x_shot "$1" "$3"
        [ "$(compare -metric AE "$2" "$3" null: 2>&1 || true)" != 0 ] && return 0
        sleep 0.2
    done
    echo "the window did not change" >&2
    return 1
}

x_move() {
    local X Y
    eval "$(xdotool getwindowgeometry --shell "$1" | grep -E '^(X|Y)=')"
    local target_x=$((X + $2)) target_y=$((Y + $3))
    eval "$(xdotool getmouselocation --shell | grep -E '^(X|Y)=')"
    # --sync waits for the pointer to move, so it must not be there already.
    if [ "$X" != "$target_x" ] || [ "$Y" != "$target_y" ]; then
        xdotool mousemove --sync "$target_x" "$target_y"
    fi
}

x_click() {
    x_move "$1" "$2" "$3"
    xdotool click 1
}
