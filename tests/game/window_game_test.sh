#!/usr/bin/env bash
# The real game in a window: the loading screen (dark blue with the orange
# band), then the title; resizing the window reloads with the loading screen
# showing and comes back to the title.
source "$(dirname "$0")/../e2e/lib.sh"

# Background (40, 40, 80) in the corner; the band (250, 160, 60) at 0.7 over it
# on the left edge, half way down. Both read in one capture.
probe() { probe_pixels 5 5 5 $(($1 / 2)); }

# The title has replaced the loading screen: neither its corner nor its band shows.
title_shown() {
  local p
  p=$(probe "$1") || return 1
  ! colour_near "${p% *}" "40,40,80" && ! colour_near "${p#* }" "187,124,66"
}

# Each loading screen is caught by captures in the background (start_probing),
# which a short reload on a busy machine would slip past between polls.
e2e_start_display
e2e_start_game
start_probing "$E2E_RUN/probes-480" 5 5 5 240
wait_for 10 probes_show "$E2E_RUN/probes-480" "40,40,80" "187,124,66" || fail "no loading screen at start"
kill "$PROBE_PID"
wait_for 30 title_shown 480 || fail "the title did not follow the loading screen"
# The title stays (the loading does not come back by itself).
sleep 1
title_shown 480 || fail "title did not stay"

# Above 1230 pixels the largest sheets load: the reload takes a while.
start_probing "$E2E_RUN/probes-1000" 5 5 5 500
xdotool windowsize "$WID" 1300 1000
wait_for 10 probes_show "$E2E_RUN/probes-1000" "40,40,80" "187,124,66" ||
  fail "no loading screen after resizing to $(window_size)"
kill "$PROBE_PID"
wait_for 60 title_shown 1000 || fail "the title did not come back after the reload"
[ "$(window_size)" = "1300x1000" ] || fail "window size $(window_size)"

kill -0 "$GAME_PID" || fail "game ended"
[ ! -s "$E2E_RUN/stderr" ] || fail "messages on stderr: $(cat "$E2E_RUN/stderr")"
echo "game window test passed"
