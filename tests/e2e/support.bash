# Shared by the end-to-end scripts: a private X server, waiting for windows, and clean-up.
# shellcheck shell=bash

set -euo pipefail

E2E_PIDS=()
cleanup() {
    local status=$?
    # A failed run shows what the application said.
    if [ $status -ne 0 ] && [ -s "${E2E_TMP:-/nonexistent}/stderr" ]; then
        echo "application stderr:" >&2
        cat "$E2E_TMP/stderr" >&2
    fi
    # Only processes this shell started and has not collected yet: a process id collected earlier may belong
    # to another program by now. The latest first, so that the application goes before its X server.
    local live pid i
    live=" $(jobs -p | tr '\n' ' ') "
    for ((i = ${#E2E_PIDS[@]} - 1; i >= 0; i--)); do
        pid=${E2E_PIDS[i]}
        [[ $live == *" $pid "* ]] && kill "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    [ -n "${E2E_TMP:-}" ] && rm -rf "$E2E_TMP"
}
trap cleanup EXIT

E2E_TMP=$(mktemp -d)

# Starts Xvfb on a free display and exports DISPLAY. -noreset: by default the server resets when its last
# client leaves, and drops a client that connects meanwhile, such as the application just after an xdotool
# call has ended.
start_xvfb() {
    local fd_file="$E2E_TMP/display"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$fd_file" 2>"$E2E_TMP/xvfb.log" &
    E2E_XVFB=$!
    E2E_PIDS+=("$E2E_XVFB")
    for _ in $(seq 600); do
        [ -s "$fd_file" ] && break
        sleep 0.05
    done
    [ -s "$fd_file" ] || fail "Xvfb did not start: $(cat "$E2E_TMP/xvfb.log")"
    DISPLAY=":$(tr -d '\n' <"$fd_file")"
    export DISPLAY
    export QT_QPA_PLATFORM=xcb
    unset WAYLAND_DISPLAY
}

# Whether process $1 runs (an ended process that nobody has collected yet does not).
running() {
    local state
    state=$(awk '{print $3}' "/proc/$1/stat" 2>/dev/null) || return 1
    [ -n "$state" ] && [ "$state" != Z ] && [ "$state" != X ]
}

# Starts a window manager on the X server (for what only a window manager does, such as minimising) and
# waits until it has taken over the screen.
start_window_manager() {
    openbox --sm-disable >"$E2E_TMP/wm.log" 2>&1 &
    E2E_PIDS+=($!)
    for _ in $(seq 600); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && return 0
        sleep 0.05
    done
    fail "the window manager did not start: $(cat "$E2E_TMP/wm.log")"
}

# Fails at once when the application or the X server has ended on its own.
check_alive() {
    if [ -n "${E2E_XVFB:-}" ] && ! running "$E2E_XVFB"; then
        fail "the X server ended: $(cat "$E2E_TMP/xvfb.log")"
    fi
    if [ -n "${E2E_APP:-}" ] && ! running "$E2E_APP"; then
        fail "the application ended"
    fi
}

# Starts the application binary $1 in the background, its stderr in $E2E_TMP/stderr, and sets E2E_APP to
# its process id.
E2E_APP=""
start_app() {
    "$1" 2>"$E2E_TMP/stderr" &
    E2E_APP=$!
    E2E_PIDS+=("$E2E_APP")
}

# What the application wrote to stderr, for failure messages.
app_stderr() {
    cat "$E2E_TMP/stderr" 2>/dev/null || true
}

# Prints the id of the first visible window whose title is exactly $1, waiting up to $2 seconds (30); a
# window whose id is $3 does not count. The limits of these waits only end a run that has failed already.
wait_for_window() {
    local title=$1 seconds=${2:-30} other=${3:-none} id
    for _ in $(seq $((seconds * 20))); do
        id=$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null | grep -v -x "$other" | head -n 1 || true)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        check_alive
        sleep 0.05
    done
    echo "no window titled '$title' appeared" >&2
    return 1
}

# Waits up to $2 seconds (30) until no visible window is titled exactly $1; fails if one still is.
wait_for_no_window() {
    local title=$1 seconds=${2:-30}
    for _ in $(seq $((seconds * 20))); do
        xdotool search --onlyvisible --name "^${title}\$" >/dev/null 2>&1 || return 0
        sleep 0.05
    done
    return 1
}

# Chooses entry $2 (counted from 1) of the menu whose title stands at content x $1 of the main window $3:
# a click opens the menu, then the keyboard walks down to the entry.
choose_menu_entry() {
    local x=$1 entry=$2 window=$3 wx wy i
    read -r wx wy < <(xwininfo -id "$window" | awk '/Absolute upper-left X:/{x=$4} /Absolute upper-left Y:/{y=$4} END{print x, y}')
    pointer_to $((wx + x)) $((wy + 8))
    xdotool click 1
    wait_for_popup_menu || fail "the menu did not open"
    for ((i = 0; i < entry; i++)); do
        xdotool key --clearmodifiers Down
    done
    xdotool key --clearmodifiers Return
}

# Prints the ICCCM state of window $1: Normal, Iconic or Withdrawn.
window_state() {
    xprop -id "$1" WM_STATE 2>/dev/null | awk '/window state:/{print $3}'
}

# Waits up to $3 seconds (30) until window $1 is in state $2 (see window_state).
wait_for_window_state() {
    local window=$1 state=$2 seconds=${3:-30}
    for _ in $(seq $((seconds * 20))); do
        [ "$(window_state "$window")" = "$state" ] && return 0
        check_alive
        sleep 0.05
    done
    return 1
}

# Waits up to $1 seconds (30) for an open menu of the application: a visible window of the application that
# no window manager handles (the toolkit's pop-ups are override-redirect windows).
wait_for_popup_menu() {
    local seconds=${1:-30} id
    for _ in $(seq $((seconds * 20))); do
        for id in $(xdotool search --onlyvisible --classname tarnwick 2>/dev/null); do
            xwininfo -id "$id" 2>/dev/null | grep -q "Override Redirect State: yes" && return 0
        done
        check_alive
        sleep 0.05
    done
    return 1
}

# Waits up to $2 seconds (30) for the file $1 to exist.
wait_for_file() {
    local file=$1 seconds=${2:-30}
    for _ in $(seq $((seconds * 20))); do
        [ -e "$file" ] && return 0
        sleep 0.05
    done
    return 1
}

# Waits up to $2 seconds (30) for process $1, a child of this shell, to end, and sets E2E_STATUS to its exit
# status; fails if it does not end. Call it directly, never inside $( ): only the shell that started the
# process can collect its status.
E2E_STATUS=""
wait_for_exit() {
    local pid=$1 seconds=${2:-30}
    E2E_STATUS=""
    for _ in $(seq $((seconds * 20))); do
        if ! kill -0 "$pid" 2>/dev/null; then
            local status=0
            wait "$pid" || status=$?
            E2E_STATUS=$status
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
    start_app "$1"
    pid=$E2E_APP
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

# Moves the pointer to screen position ($1, $2). --sync waits for the pointer to arrive, and waits in vain
# when it is there already, so it is used only to go somewhere else.
pointer_to() {
    local X Y
    eval "$(xdotool getmouselocation --shell 2>/dev/null | grep -E '^[XY]=')"
    if [ "${X:-}" != "$1" ] || [ "${Y:-}" != "$2" ]; then
        xdotool mousemove --sync "$1" "$2"
    fi
}

# Clicks at content coordinates ($2, $3) of the window whose content origin is in $1 ("x y").
click_at() {
    local origin=($1)
    pointer_to $((origin[0] + $2)) $((origin[1] + $3))
    xdotool click 1
}
