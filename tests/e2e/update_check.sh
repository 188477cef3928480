#!/usr/bin/env bash
# The update check of the real executable, with no seam at all: inside a network namespace of its own, whose
# hosts file points the maker's web host at a local server on port 80. "Check Now", then "Check for Updates":
# with a document naming the running version, with a newer one, with 300 lines of release notes, with notes
# whose lines end in CR alone, with a reply cut short, with a network's sign-in page and with no server. Each answer is grabbed from the screen and checked for what the user
# reads: the message box's text, the upgrade question's picture. Set TARNWICK_E2E_SHOTS to a folder to keep
# the grabs.
# Usage: update_check.sh BINARY VERSION WINDOW_PROBE
set -euo pipefail
binary=$(readlink -f "$1")
version=${2:-3.0.0}
probe=$(readlink -f "$3")
here=$(cd "$(dirname "$0")" && pwd)

source "$here/network_namespace.bash"
enter_network_namespace "$0" "$binary" "$version" "$probe"

source "$here/support.bash"
ip link set lo up

start_xvfb

# Runs one check against the page $1 (empty: no server), waits for the window titled $2 that answers it and
# grabs it into $E2E_TMP/$3.png. The answer must lie wholly on the screen. Set before the call: `serve`, how
# the server replies ("" or "short", see update_server.py); `says`, the lines of text (split at LF) the
# answering window must show; `shows`, the message picture the answering window must show (see
# window_probe.cpp); `buttons`, the captions of the push buttons it must show, separated by "|"; `at_end`,
# the lines it must show once its text is scrolled to the end with the mouse wheel (grabbed into
# $E2E_TMP/$3-end.png). Empty ones are not checked.
serve="" says="" shows="" buttons="" at_end=""
screen_height=1024
check_once() {
    local document=$1 expect=$2 name=$3
    local server_pid=""
    : >"$E2E_TMP/requests"
    if [ -n "$document" ]; then
        printf '%s' "$document" >"$E2E_TMP/document"
        rm -f "$E2E_TMP/server-ready"
        python3 "$here/update_server.py" 80 "$E2E_TMP/document" "$E2E_TMP/requests" "$E2E_TMP/server-ready" \
            $serve &
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
    local shot="$E2E_TMP/$name.png" read=0 shown=none caption
    if [ -n "$says" ]; then
        "$probe" message "$answer" "$shot" "$says" || read=$?
    fi
    if [ -n "$shows" ]; then
        shown=$("$probe" icon "$answer" "$shot") || fail "cannot grab the '$expect' window"
    fi
    local ax ay aw ah
    read -r ax ay aw ah < <(xwininfo -id "$answer" | awk '/Absolute upper-left X:/{x=$4}
        /Absolute upper-left Y:/{y=$4} /Width:/{w=$2} /Height:/{h=$2} END{print x, y, w, h}')
    [ "$ay" -ge 0 ] && [ $((ay + ah)) -le $screen_height ] ||
        fail "the '$expect' window, $ah px tall at $ay, is not wholly on the $screen_height px screen"
    if [ -n "$buttons" ]; then
        IFS='|' read -r -a captions <<<"$buttons"
        for caption in "${captions[@]}"; do
            "$probe" button "$answer" "$shot" "$caption" || fail "the '$expect' window shows no '$caption' button"
        done
    fi
    if [ -n "$at_end" ]; then
        pointer_to $((ax + aw / 2)) $((ay + ah / 2))
        xdotool click --repeat 150 --delay 5 5
        "$probe" message "$answer" "$E2E_TMP/$name-end.png" "$at_end" ||
            fail "the '$expect' window does not show, scrolled to its end: $at_end"
    fi
    if [ -n "${TARNWICK_E2E_SHOTS:-}" ]; then
        cp "$E2E_TMP/$name"*.png "$TARNWICK_E2E_SHOTS/"
    fi
    [ "$read" -eq 0 ] || fail "the '$expect' window does not read: $says"
    [ -z "$shows" ] || [ "$shown" = "$shows" ] ||
        fail "the '$expect' window shows the $shown picture, not the $shows one"
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

current="You are using the current version. No update is available."
lost="There was a communication error with the website. Please try again later. (Code: 102)"
newer="<CurrentVersion>99.0.0</CurrentVersion><Description>Faster</Description><Free>Yes</Free>"

# The running version: the message box (titled with the application's name, like the main window).
says=$current shows="" serve=""
check_once "<CurrentVersion>${version}</CurrentVersion><Description>x</Description><Free>Yes</Free>" "Tarnwick" \
    current
# A newer version: the upgrade question, with the question's picture.
says="" shows=question serve=""
check_once "$newer" "New version available!" question
# Release notes of 300 lines: the question stays on the screen with its buttons, and its text scrolls to
# the last line. Notes whose lines end in CR alone show on lines of their own.
notes=$(for i in $(seq 300); do echo "Line $i of the release notes"; done)
says=$'Line 1 of the release notes\nLine 2 of the release notes' shows="" buttons="Go to Website|Cancel"
at_end=$'Line 299 of the release notes\nLine 300 of the release notes'
check_once "<CurrentVersion>99.0.0</CurrentVersion><Description>${notes}</Description><Free>Yes</Free>" \
    "New version available!" long-notes
says=$'First line\nSecond line\nThird line' buttons="" at_end=""
check_once "<CurrentVersion>99.0.0</CurrentVersion><Description>First line"$'\r'"Second line"$'\r'"Third line</Description><Free>Yes</Free>" \
    "New version available!" cr-notes
# A reply cut short, a network's sign-in page, no server: the communication error's message box.
says=$lost shows="" serve=short
check_once "$newer" "Tarnwick" cut-short
serve=""
check_once "<html><body><form action=\"/login\">Sign in to use this network</form></body></html>" "Tarnwick" \
    sign-in
check_once "" "Tarnwick" no-server
echo "update check answered in all seven cases"
