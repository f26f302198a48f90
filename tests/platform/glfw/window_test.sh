#!/usr/bin/env bash
# The real game in a real window: title and size, iconify blocks and resumes,
# the close button ends the process with status 0.
source "$(dirname "$0")/../e2e/lib.sh"
e2e_start_display
e2e_start_game

[ "$(xdotool getwindowname "$WID")" = "Brindlewick" ] || fail "window title"
[ "$(window_size)" = "640x480" ] || fail "window size $(window_size)"

# Iconified: the loop blocks on the event queue, so the game uses no CPU.
sleep 1
xdotool windowminimize "$WID"
sleep 1
before=$(cpu_ticks); sleep 2; after=$(cpu_ticks)
echo "CPU ticks while iconified over 2 s: $((after - before))"
[ $((after - before)) -le 4 ] || fail "game spins while iconified"

# Restored and focused: it runs again.
xdotool windowactivate --sync "$WID" 2>/dev/null || wmctrl -i -a "$WID"
before=$(cpu_ticks); sleep 2; after=$(cpu_ticks)
echo "CPU ticks while running over 2 s: $((after - before))"
[ $((after - before)) -ge 1 ] || fail "game did not resume"

wmctrl -c Brindlewick
wait_game_exit 10 || fail "close button did not end the game"
[ "$GAME_STATUS" = 0 ] || fail "exit status $GAME_STATUS"
echo "window test passed"
