# Shared by the end-to-end scripts: a private X server, waiting for windows, and clean-up.
# shellcheck shell=bash

set -euo pipefail

E2E_PIDS=()
cleanup() {
    for pid in "${E2E_PIDS[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    [ -n "${E2E_TMP:-}" ] && rm -rf "$E2E_TMP"
}
trap cleanup EXIT

E2E_TMP=$(mktemp -d)

# Starts Xvfb on a free display and exports DISPLAY.
start_xvfb() {
    local fd_file="$E2E_TMP/display"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fd_file" 2>"$E2E_TMP/xvfb.log" &
    E2E_PIDS+=($!)
    for _ in $(seq 100); do
        [ -s "$fd_file" ] && break
        sleep 0.05
    done
    DISPLAY=":$(tr -d '\n' <"$fd_file")"
    export DISPLAY
    export QT_QPA_PLATFORM=xcb
    unset WAYLAND_DISPLAY
}

# Prints the id of the first visible window whose title is exactly $1, waiting up to $2 seconds (10); a
# window whose id is $3 does not count.
wait_for_window() {
    local title=$1 seconds=${2:-10} other=${3:-none} id
    for _ in $(seq $((seconds * 20))); do
        id=$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null | grep -v -x "$other" | head -n 1 || true)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.05
    done
    echo "no window titled '$title' appeared" >&2
    return 1
}

# Waits up to $2 seconds for process $1 to end and prints its exit status; fails if it does not end.
wait_for_exit() {
    local pid=$1 seconds=${2:-10}
    for _ in $(seq $((seconds * 20))); do
        if ! kill -0 "$pid" 2>/dev/null; then
            local status=0
            wait "$pid" || status=$?
            echo "$status"
            return 0
        fi
        sleep 0.05
    done
    echo "process $pid did not end within $seconds s" >&2
    return 1
}

# Starts the executable $1 with its stderr in $E2E_TMP/stderr and waits for its main window; sets pid,
# window and origin (the content origin of the 530-pixel-high main window) and focuses the window.
launch_main_window() {
    "$1" 2>"$E2E_TMP/stderr" &
    pid=$!
    E2E_PIDS+=("$pid")
    window=$(wait_for_window "Tarnwick")
    origin=$(content_origin "$window" 530)
    xdotool windowfocus --sync "$window"
}

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# The on-screen origin of a window's content area: below its menu bar, whose height is what the window has
# beyond its designed content height $2. Prints "x y".
content_origin() {
    local window=$1 content_height=$2
    xwininfo -id "$window" | awk -v h="$content_height" '
        /Absolute upper-left X:/ {x=$4} /Absolute upper-left Y:/ {y=$4} /Height:/ {height=$2}
        END {print x, y + height - h}'
}

# Clicks at content coordinates ($2, $3) of the window whose content origin is in $1 ("x y").
click_at() {
    local origin=($1)
    xdotool mousemove --sync $((origin[0] + $2)) $((origin[1] + $3)) click 1
}
