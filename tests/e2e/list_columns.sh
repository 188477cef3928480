#!/usr/bin/env bash
# The list's column lines on the real window stay where they are when its scroll bar shows: a search that
# lists 5 primes and one that lists 60 (more rows than the list shows, so the bar appears) draw the lines
# between the columns at the same places. Set TARNWICK_E2E_SHOTS to a folder to keep the grabs.
source "$(dirname "$0")/support.bash"
binary=$1
probe=$3

start_xvfb
launch_main_window "$binary"
menu_height=$(($(xwininfo -id "$window" | awk '/Height:/{print $2}') - 530))

# Lists the first $1 primes and waits until the list holds them all: copied, its last row is number $1.
list_primes() {
    local count=$1 copied="" deadline=$((SECONDS + 60))
    click_at "$origin" 630 384 # "# Primes:"
    xdotool key --clearmodifiers ctrl+a
    xdotool type --delay 20 "$count"
    click_at "$origin" 549 466 # "Start"
    while [ "$(printf '%s\n' "$copied" | tail -n 1 | cut -f 1)" != "$count" ] && [ $SECONDS -lt $deadline ]; do
        sleep 0.1
        click_at "$origin" 250 60 # a row of the list
        xdotool key --clearmodifiers ctrl+a ctrl+c
        copied=$(xclip -selection clipboard -o 2>/dev/null || true)
    done
    [ "$(printf '%s\n' "$copied" | wc -l)" -eq "$count" ] || fail "the list holds:
$copied"
}

# Prints the window x of each line between the list's columns, in a band across its top rows that ends left
# of the scroll bar (the list spans content x 20 to 495, the headings above it 20 to 470).
column_lines() {
    local shot="$E2E_TMP/list-$1-rows.png" lines
    lines=$("$probe" lines "$window" "$shot" "21,$((menu_height + 36)),450,50") ||
        fail "no column line in the list with $1 rows"
    [ -z "${TARNWICK_E2E_SHOTS:-}" ] || cp "$shot" "$TARNWICK_E2E_SHOTS/"
    echo "$lines"
}

list_primes 5
few=$(column_lines 5)
[ "$(wc -w <<<"$few")" -eq 2 ] || fail "with 5 rows the list shows column lines at $few, not two"
list_primes 60
many=$(column_lines 60)
[ "$many" = "$few" ] || fail "the column lines stand at $few with 5 rows and at $many with 60"

xdotool key --clearmodifiers ctrl+q
wait_for_exit "$E2E_APP"
[ "$E2E_STATUS" -eq 0 ] || fail "exit status $E2E_STATUS; stderr: $(app_stderr)"
echo "the column lines stand at x $few with 5 rows and with 60"
