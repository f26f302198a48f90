#!/usr/bin/env bash
# Escape pauses a match: the veil darkens the screen and the clock stops;
# Escape again closes the panel and the clock runs on.
source "$(dirname "$0")/lib.sh"
e2e_start_display
e2e_start_game
start_match_by_click
xdotool mousemove --window "$WID" 320 470  # out of the way

# The score and clock text at the top centre: a running clock changes it
# within a little over a second.
clock() { region_sum 250 26 140 22; }
changes() { local a; a=$(clock); wait_for 3 eval '[ "$(clock)" != "$a" ]'; }
changes || fail "the clock does not run"

# Paused: the field is gone and the veil darkens the background everywhere.
# The panel climbs from -64 in steps of 24 and rests at 248, just past half
# height, so the veil's alpha is 248 / 384 and the background (36,36,71).
tap_key Escape
veiled() { pixel_is 630 470 "36,36,71" 3 && colour_near "$(pixel_at "$E2E_RUN/shot.png" 10 470)" "36,36,71" 3; }
wait_for 3 veiled || fail "no pause veil; corner $(pixel_at "$E2E_RUN/shot.png" 630 470)"
echo "paused"
# The clock stands still for more than a second.
before=$(clock)
sleep 2.5
[ "$(clock)" = "$before" ] || fail "the clock ran while paused"
veiled || fail "the panel closed by itself"

# Escape again: the panel slides away, the background is plain again and the
# clock runs.
tap_key Escape
wait_for 3 match_shown || fail "the match did not resume"
changes || fail "the clock did not run again"
echo "resumed"
close_game
echo "pause test passed"
