#!/usr/bin/env bash
# The real executable starts with its main window and its menu bar, and File > Quit (Ctrl+Q) ends it with
# status 0.
source "$(dirname "$0")/support.bash"
binary=$1

start_xvfb
start_app "$binary"

window=$(wait_for_window "Tarnwick")
read -r width height < <(xwininfo -id "$window" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w, h}')
[ "$width" -eq 700 ] || fail "main window is $width wide, not 700"
[ "$height" -gt 530 ] || fail "main window is $height high: no room for the menu bar above 530"

xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers ctrl+q
wait_for_exit "$E2E_APP"
[ "$E2E_STATUS" -eq 0 ] || fail "exit status $E2E_STATUS; stderr: $(app_stderr)"
echo "quit cleanly"
