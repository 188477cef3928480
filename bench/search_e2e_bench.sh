#!/usr/bin/env bash
# The search as a user sees it, in the real executable under Xvfb (the end-to-end tests' support):
# - Mode B from 9,999,999,000 to 9,999,999,999: seconds from pressing "Start" until the list holds all 41
#   primes, 9,999,999,001 to 9,999,999,967, the 20 ms ticks included (polled by copying the list, every
#   ~0.1 s).
# - A default Mode A run (start 2, 500 primes): the application's CPU time for the whole run (user + system,
#   from /proc, read 10.5 s after Start, before the list is copied to check it), against the CPU time of the
#   same application idling as long, measured in the same run.
# Usage: bench/search_e2e_bench.sh [path/to/tarnwick]   (default build/test/tarnwick)
cd "$(dirname "$0")/.."
source tests/e2e/support.bash
binary=${1:-build/test/tarnwick}
ticks=$(getconf CLK_TCK)

cpu_seconds() {
    awk -v t="$ticks" '{printf "%.3f\n", ($14 + $15) / t}' "/proc/$1/stat"
}
now() {
    date +%s.%N
}
# Prints the list's rows as the clipboard receives them. The click on a row moves the pointer without
# waiting for the motion: a synchronous move to where the pointer already is waits ~15 s for a motion that
# never comes.
copy_list() {
    local at=($origin)
    xdotool mousemove $((at[0] + 250)) $((at[1] + 60)) click 1
    xdotool key --clearmodifiers ctrl+a ctrl+c
    xclip -selection clipboard -o 2>/dev/null || true
}
quit_app() {
    xdotool key --clearmodifiers ctrl+q
    wait_for_exit "$pid" 10 >/dev/null
}
type_into() { # x y text
    click_at "$origin" "$1" "$2"
    xdotool key --clearmodifiers ctrl+a
    xdotool type --delay 10 "$3"
}

start_xvfb

# Mode B near the limit.
launch_main_window "$binary"
click_at "$origin" 540 220 # "Mode B"
type_into 630 351 "9999999000"
type_into 630 384 "9999999999"
click_at "$origin" 549 466 # "Start"
began=$(now)
rows=""
for _ in $(seq 600); do
    rows=$(copy_list)
    count=$(printf '%s\n' "$rows" | grep -c . || true)
    last=$(printf '%s\n' "$rows" | tail -n 1 | cut -f 2)
    [ "$count" -eq 41 ] && [ "$last" = "9,999,999,967" ] && break
    sleep 0.05
done
ended=$(now)
first=$(printf '%s\n' "$rows" | head -n 1 | cut -f 2)
[ "$count" -eq 41 ] || fail "Mode B listed $count primes"
awk -v a="$began" -v b="$ended" -v f="$first" -v l="$last" \
    'BEGIN {printf "Mode B 9,999,999,000 to 9,999,999,999: 41 primes (%s to %s) %.2f s after Start\n", f, l, b - a}'
quit_app

# Mode A with the window's own numbers.
launch_main_window "$binary"
sleep 1
idle_before=$(cpu_seconds "$pid")
idle_began=$(now)
sleep 3
idle_cpu=$(awk -v a="$idle_before" -v b="$(cpu_seconds "$pid")" 'BEGIN {print b - a}')
idle_span=$(awk -v a="$idle_began" -v b="$(now)" 'BEGIN {print b - a}')
before=$(cpu_seconds "$pid")
click_at "$origin" 549 466 # "Start"
began=$(now)
# The run takes its 500 ticks of 20 ms; its CPU time is read once it is over, before the list is copied to
# check it, so that the copying (which the run does not do) is not counted.
sleep 10.5
ended=$(now)
after=$(cpu_seconds "$pid")
for _ in $(seq 100); do
    count=$(copy_list | grep -c . || true)
    [ "$count" -ge 500 ] && break
    sleep 0.2
done
[ "$count" -eq 500 ] || fail "Mode A listed $count primes"
awk -v a="$before" -v b="$after" -v s="$began" -v e="$ended" -v ic="$idle_cpu" -v is="$idle_span" 'BEGIN {
    run = e - s; idle = ic * run / is
    printf "Mode A, 500 primes: %.2f s of CPU over %.1f s (idle baseline %.3f s of CPU over as long)\n", b - a, run, idle
}'
quit_app
