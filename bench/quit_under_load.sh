#!/usr/bin/env bash
# How long the real executable takes to be gone after Ctrl+Q during a Mode B search near the limit while a
# busy loop runs on every processor: the window goes at once, and the process ends once the kernel has run
# each of its threads one last time (the scan's workers are of the idle class).
# Usage: bench/quit_under_load.sh [path/to/tarnwick] [rounds]   (default build/test/tarnwick, 4 rounds)
cd "$(dirname "$0")/.."
source tests/e2e/support.bash
binary=${1:-build/test/tarnwick}
rounds=${2:-4}
type_into() { # x y text
    click_at "$origin" "$1" "$2"
    xdotool key --clearmodifiers ctrl+a
    xdotool type --delay 10 "$3"
}

start_xvfb
for round in $(seq "$rounds"); do
    launch_main_window "$binary"
    click_at "$origin" 540 220 # "Mode B"
    type_into 630 351 "9999999000"
    type_into 630 384 "9999999999"
    busy=()
    for _ in $(seq "$(nproc)"); do
        timeout 60 bash -c 'while :; do :; done' &
        busy+=($!)
    done
    click_at "$origin" 549 466 # "Start"
    sleep 1.5
    xdotool key --clearmodifiers ctrl+q
    asked=$(date +%s.%N)
    wait "$pid" 2>/dev/null || true
    gone=$(date +%s.%N)
    kill "${busy[@]}" 2>/dev/null || true
    wait "${busy[@]}" 2>/dev/null || true
    awk -v r="$round" -v a="$asked" -v b="$gone" 'BEGIN {printf "round %d: gone %.3f s after Ctrl+Q\n", r, b - a}'
done
