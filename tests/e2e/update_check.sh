#!/usr/bin/env bash
# The update check of the real executable, with no seam at all: inside a network namespace of its own, whose
# hosts file points the maker's web host at a local server on port 80. "Check Now", then "Check for Updates":
# once with a document naming the running version, once with a newer one, once with no server.
set -euo pipefail
binary=$(readlink -f "$1")
version=${2:-3.0.0}
here=$(cd "$(dirname "$0")" && pwd)

if [ -z "${TARNWICK_E2E_NETNS:-}" ]; then
    if [ "$(id -u)" -ne 0 ] || ! command -v ip >/dev/null; then
        echo "SKIP: a network namespace needs root and iproute2"
        exit 77
    fi
    name="tarnwick-e2e-$$"
    ip netns add "$name" || { echo "SKIP: cannot make a network namespace"; exit 77; }
    mkdir -p "/etc/netns/$name"
    echo "127.0.0.1 www.example.com example.com" >"/etc/netns/$name/hosts"
    status=0
    TARNWICK_E2E_NETNS=$name ip netns exec "$name" bash "$0" "$binary" "$version" || status=$?
    ip netns delete "$name" || true
    rm -rf "/etc/netns/$name"
    exit $status
fi

source "$here/support.bash"
ip link set lo up

start_xvfb

# Runs one check against `document` (empty: no server) and waits for the window titled $2 to appear.
check_once() {
    local document=$1 expect=$2
    local server_pid=""
    : >"$E2E_TMP/requests"
    if [ -n "$document" ]; then
        printf '%s' "$document" >"$E2E_TMP/document"
        rm -f "$E2E_TMP/server-ready"
        python3 "$here/update_server.py" 80 "$E2E_TMP/document" "$E2E_TMP/requests" "$E2E_TMP/server-ready" &
        server_pid=$!
        E2E_PIDS+=("$server_pid")
        wait_for_file "$E2E_TMP/server-ready" || fail "the update server did not start"
    fi
    start_app "$binary"
    local pid=$E2E_APP
    local main
    main=$(wait_for_window "Tarnwick")
    choose_menu_entry 135 1 "$main" # Check for Update > Check Now
    local selftest
    selftest=$(wait_for_window "Self Test")
    xdotool windowfocus --sync "$selftest"
    xdotool key --clearmodifiers Return # "Check for Updates", the default button
    local answer
    answer=$(wait_for_window "$expect" 30 "$main") || fail "no '$expect' window; stderr: $(app_stderr)"
    xdotool windowfocus --sync "$answer"
    xdotool key --clearmodifiers Escape
    # Every answer but "Go to Website" closes the update window, and the self-test window with it.
    wait_for_no_window "Self Test" || fail "the self-test window stayed open"
    xdotool search --onlyvisible --name "^Update\$" >/dev/null 2>&1 && fail "the update window stayed open"
    xdotool windowfocus --sync "$main"
    xdotool key --clearmodifiers ctrl+q
    wait_for_exit "$pid"
    [ "$E2E_STATUS" -eq 0 ] || fail "exit status $E2E_STATUS; stderr: $(app_stderr)"
    if [ -n "$server_pid" ]; then
        kill "$server_pid" 2>/dev/null || true
        expected=$(printf 'GET /Updates/tarnwick.xml HTTP/1.0\r\nAccept: */*\r\nAccept-Language: en\r\nHost: www.example.com\r\n\r\n')
        [ "$(cat "$E2E_TMP/requests")" = "$expected" ] || fail "request bytes: $(od -c "$E2E_TMP/requests" | head)"
    fi
}

# The running version: the message box (titled with the application's name, like the main window).
check_once "<CurrentVersion>${version}</CurrentVersion><Description>x</Description><Free>Yes</Free>" "Tarnwick"
# A newer version: the upgrade question.
check_once "<CurrentVersion>99.0.0</CurrentVersion><Description>Faster</Description><Free>Yes</Free>" \
    "New version available!"
# No server: the communication error's message box.
check_once "" "Tarnwick"
echo "update check answered in all three cases"
