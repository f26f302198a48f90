#!/usr/bin/env bash
# The window's close button ends the process at the next update with exit
# status 0, in the middle of a match, without saving and without output.
source "$(dirname "$0")/lib.sh"
e2e_start_display
e2e_start_game
start_match_by_click
xdotool mousemove --window "$WID" 320 470

start=$(date +%s%N)
wmctrl -i -c "$WID"
wait_game_exit 10 || fail "close button did not end the game"
ms=$(( ($(date +%s%N) - start) / 1000000 ))
echo "ended ${ms} ms after the close button with status $GAME_STATUS"
[ "$GAME_STATUS" = 0 ] || fail "exit status $GAME_STATUS; stderr: $(cat "$E2E_RUN/stderr")"
[ ! -e "$E2E_RUN/.vorlekstate" ] || fail "closing saved the state"
[ ! -s "$E2E_RUN/stdout" ] || fail "printed: $(cat "$E2E_RUN/stdout")"
echo "close test passed"
