#!/usr/bin/env bash
# The real executable's windows with a window manager, as a user meets them: Tab goes from "Start At:" to
# "# Primes:" and Shift+Tab back; a minimised window comes back when its menu entry is chosen again; Ctrl+Q
# quits from a window without a menu bar of its own (the about window), with status 0.
source "$(dirname "$0")/support.bash"
binary=$1

start_xvfb
start_window_manager
start_app "$binary"

main=$(wait_for_window "Tarnwick")
origin=$(content_origin "$main" 530)
xdotool windowactivate --sync "$main"

# Presses the keys $1 in the focused window, then Ctrl+A and Ctrl+C, and prints what the clipboard holds
# once it is $2, or after 30 s.
copy_after_keys() {
    local keys=$1 expected=$2 copied="" deadline=$((SECONDS + 30))
    # xclip stays to serve what it set until another client takes the clipboard: away from our output.
    printf 'none' | xclip -selection clipboard >/dev/null 2>&1
    xdotool key --clearmodifiers "$keys" ctrl+a ctrl+c
    while [ "$copied" != "$expected" ] && [ $SECONDS -lt $deadline ]; do
        sleep 0.05
        copied=$(xclip -selection clipboard -o 2>/dev/null || true)
    done
    echo "$copied"
}

# Tab from "Start At:" reaches "# Primes:", whose text then is what Ctrl+A, Ctrl+C copy; Shift+Tab goes back.
click_at "$origin" 630 351 # "Start At:"
copied=$(copy_after_keys Tab 500)
[ "$copied" = "500" ] || fail "Tab from \"Start At:\" did not reach \"# Primes:\" (copied: $copied)"
copied=$(copy_after_keys shift+Tab 2)
[ "$copied" = "2" ] || fail "Shift+Tab from \"# Primes:\" did not go back to \"Start At:\" (copied: $copied)"

# "Check Now" shows the self-test window; minimised, it comes back in front when chosen again.
choose_menu_entry 135 1 "$main" # Check for Update > Check Now
selftest=$(wait_for_window "Self Test")
wait_for_window_state "$selftest" Normal || fail "the self-test window is not shown"
xdotool windowminimize --sync "$selftest"
wait_for_window_state "$selftest" Iconic || fail "the self-test window did not minimise"
xdotool windowactivate --sync "$main"
choose_menu_entry 135 1 "$main"
wait_for_window_state "$selftest" Normal || fail "choosing Check Now again left the self-test window minimised"
[ "$(wait_for_window "Self Test")" = "$selftest" ] || fail "a second self-test window"

# Ctrl+Q in the about window, which has no menu bar of its own, quits.
xdotool windowactivate --sync "$main"
choose_menu_entry 135 2 "$main" # Check for Update > About Velk
about=$(wait_for_window "About...")
xdotool windowactivate --sync "$about"
xdotool key --clearmodifiers ctrl+q
wait_for_exit "$E2E_APP"
[ "$E2E_STATUS" -eq 0 ] || fail "exit status $E2E_STATUS"
echo "Tab order, restored windows and Ctrl+Q from the about window"
