#!/usr/bin/env bash
# First start without a state file: the loading screen turns, then the title
# screen assembles; nothing is printed and closing ends the game with status 0.
source "$(dirname "$0")/lib.sh"
e2e_start_display
e2e_start_game

# Loading: the orange band (250,160,60 at 0.7 over 40,40,80) across the
# middle fifth, the plain background above it.
# It lasts about a third of a second, so captures run in the background.
start_probing "$E2E_RUN/probes" 4 240 4 100
wait_for 10 probes_show "$E2E_RUN/probes" "187,124,66" "40,40,80" ||
  fail "no loading screen; last probe $(tail -1 "$E2E_RUN/probes")"
kill "$PROBE_PID"
echo "loading screen seen"

# The title: neither the loading background nor the band, and the side strip
# (black at 0.4) darkens the right edge against the left one at the same row.
title_shown() {
  screenshot "$E2E_RUN/shot.png" || return 1
  local left right
  left=$(pixel_at "$E2E_RUN/shot.png" 4 100)
  right=$(pixel_at "$E2E_RUN/shot.png" 635 100)
  ! colour_near "$left" "40,40,80" 4 && ! colour_near "$(pixel_at "$E2E_RUN/shot.png" 4 240)" "187,124,66" 4 &&
    ! colour_near "$left" "$right" 2
}
wait_for 10 title_shown || fail "no title screen"
# The intro slide lasts 32 updates: after it the picture holds still.
settled() { a=$(region_sum 0 0 640 480) && sleep 0.2 && [ "$a" = "$(region_sum 0 0 640 480)" ]; }
wait_for 5 settled || fail "title screen keeps moving"
echo "title screen seen"

[ ! -e "$E2E_RUN/.vorlekstate" ] || fail "a state file was written without a save"
close_game
[ ! -s "$E2E_RUN/stdout" ] || fail "printed on a first start: $(cat "$E2E_RUN/stdout")"
[ ! -e "$E2E_RUN/.vorlekstate" ] || fail "closing saved the state"
echo "first start test passed"
