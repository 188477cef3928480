#!/usr/bin/env bash
# A user's search in the real executable: type a count of 10, press "Start", wait for the list, select its
# rows and copy them, and read what was copied.
source "$(dirname "$0")/support.bash"
binary=$1

start_xvfb
launch_main_window "$binary"

click_at "$origin" 630 384 # "# Primes:"
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 20 "10"
click_at "$origin" 549 466 # "Start"

expected=$(printf '1\t2\t\n2\t3\t1\n3\t5\t2\n4\t7\t2\n5\t11\t4\n6\t13\t2\n7\t17\t4\n8\t19\t2\n9\t23\t4\n10\t29\t6')
copied=""
for _ in $(seq 50); do
    sleep 0.1
    click_at "$origin" 250 60 # a row of the list
    xdotool key --clearmodifiers ctrl+a ctrl+c
    copied=$(xclip -selection clipboard -o 2>/dev/null || true)
    [ "$copied" = "$expected" ] && break
done
[ "$copied" = "$expected" ] || fail "the list holds:
$copied"

xdotool key --clearmodifiers ctrl+q
status=$(wait_for_exit "$pid" 10)
[ "$status" -eq 0 ] || fail "exit status $status; stderr: $(cat "$E2E_TMP/stderr")"
echo "listed the first ten primes"
