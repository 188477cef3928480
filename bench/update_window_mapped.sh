#!/usr/bin/env bash
# The "Update" window must reach the screen every time: COUNT update checks of the real executable under Xvfb
# with openbox, each against a web host that never answers (so that the window stays up and waiting), while
# a busy loop runs on every core. Each check chooses "Check Now", presses "Check for Updates", waits for the
# Update window to exist and then gives it 5 s to be mapped: viewable, and in the Normal state of the window
# manager. A window that stays unmapped is modal all the same and lets nothing but Ctrl+Q through, so the run
# then quits the application and starts it again. Runs inside a network namespace of its own, whose hosts
# file points the maker's web host at 127.0.0.1, where the never-answering listener holds port 80.
# Usage: bench/update_window_mapped.sh [COUNT] [path/to/tarnwick]   (200, build/test/tarnwick)
set -euo pipefail
cd "$(dirname "$0")/.."
count=${1:-200}
binary=$(readlink -f "${2:-build/test/tarnwick}")

source tests/e2e/network_namespace.bash
enter_network_namespace "$0" "$count" "$binary"

source tests/e2e/support.bash
ip link set lo up

start_xvfb
start_window_manager
python3 bench/never_answering_host.py 80 "$E2E_TMP/host-ready" &
E2E_PIDS+=($!)
wait_for_file "$E2E_TMP/host-ready" || fail "the never-answering host did not start"

cores=$(nproc)
for _ in $(seq "$cores"); do
    (while :; do :; done) &
    E2E_PIDS+=($!)
done

# Waits up to 5 s for window $1 to be viewable and in the window manager's Normal state.
mapped_within_5s() {
    local window=$1 deadline=$((SECONDS + 5))
    while :; do
        xwininfo -id "$window" 2>/dev/null | grep -q "Map State: IsViewable" &&
            [ "$(window_state "$window")" = Normal ] && return 0
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.05
    done
}

# Prints the id of the Update window once it exists, mapped or not, waiting up to 60 s.
update_window() {
    local id
    for _ in $(seq 1200); do
        id=$(xdotool search --name '^Update$' 2>/dev/null | head -n 1 || true)
        [ -n "$id" ] && { echo "$id"; return 0; }
        check_alive
        sleep 0.05
    done
    return 1
}

main=""
launch() {
    start_app "$binary"
    main=$(wait_for_window "Tarnwick" 60) || fail "the main window did not appear"
    xdotool windowactivate --sync "$main"
}
quit_app() {
    xdotool windowactivate --sync "$main" 2>/dev/null || true
    xdotool key --clearmodifiers ctrl+q
    wait_for_exit "$E2E_APP" 60 || fail "Ctrl+Q did not end the application"
    [ "$E2E_STATUS" -eq 0 ] || fail "exit status $E2E_STATUS; stderr: $(app_stderr)"
}

began=$SECONDS
unmapped=0
launch
for check in $(seq "$count"); do
    choose_menu_entry 135 1 "$main" # Check for Update > Check Now
    selftest=$(wait_for_window "Self Test" 60) || fail "check $check: no self-test window"
    xdotool windowactivate --sync "$selftest"
    xdotool key --clearmodifiers Return # "Check for Updates"
    update=$(update_window) || fail "check $check: no Update window"
    if ! mapped_within_5s "$update"; then
        unmapped=$((unmapped + 1))
        echo "check $check: the Update window is not mapped after 5 s:" \
            "$(xwininfo -id "$update" 2>/dev/null | awk '/Map State:/{print $3}')," \
            "WM_STATE '$(window_state "$update")'"
        quit_app
        launch
        continue
    fi
    xdotool windowactivate --sync "$update"
    xdotool key --clearmodifiers Escape # "Cancel"
    wait_for_no_window "Update" 60 || fail "check $check: Escape did not close the Update window"
    wait_for_no_window "Self Test" 60 || fail "check $check: the self-test window stayed open"
done
quit_app

echo "$count update checks with $cores busy cores in $((SECONDS - began)) s (load $(cut -d ' ' -f 1-3 /proc/loadavg)):" \
    "the Update window was mapped within 5 s $((count - unmapped)) times, not mapped $unmapped times"
[ "$unmapped" -eq 0 ]
