#!/usr/bin/env bash
# The Edit menu of the real executable as a user sees it: opened with a click, its separator under "Undo" is a
# line with nothing drawn beside it. Set TARNWICK_E2E_SHOTS to a folder to keep the grab.
source "$(dirname "$0")/support.bash"
binary=$1
probe=$3

start_xvfb
launch_main_window "$binary"

read -r wx wy < <(xwininfo -id "$window" | awk '/Absolute upper-left X:/{x=$4} /Absolute upper-left Y:/{y=$4} END{print x, y}')
pointer_to $((wx + 50)) $((wy + 8)) # "Edit", right of "File"
xdotool click 1
wait_for_popup_menu || fail "the Edit menu did not open"
menu=""
for id in $(xdotool search --onlyvisible --classname tarnwick); do
    xwininfo -id "$id" | grep -q "Override Redirect State: yes" && menu=$id
done
shot="$E2E_TMP/edit-menu.png"
status=0
"$probe" separator "$menu" "$shot" || status=$?
[ -z "${TARNWICK_E2E_SHOTS:-}" ] || cp "$shot" "$TARNWICK_E2E_SHOTS/"
[ "$status" -eq 0 ] || fail "the Edit menu's separator is not a line alone"

xdotool key --clearmodifiers Escape
xdotool key --clearmodifiers ctrl+q
wait_for_exit "$E2E_APP"
[ "$E2E_STATUS" -eq 0 ] || fail "exit status $E2E_STATUS; stderr: $(app_stderr)"
echo "the Edit menu's separator is a line alone"
