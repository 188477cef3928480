#!/usr/bin/env bash
# The Update window reaches the screen on every check while every core is busy: a few rounds of the stress
# run bench/update_window_mapped.sh, which takes a count.
# Usage: update_window_mapped.sh BINARY
exec bash "$(dirname "$0")/../../bench/update_window_mapped.sh" 5 "$1"
