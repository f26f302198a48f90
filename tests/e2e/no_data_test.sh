#!/usr/bin/env bash
# Without a data folder the game still runs: it draws its shapes and text-less
# screens (no pictures, no sounds), a match can be played, and it closes
# cleanly with status 0.
source "$(dirname "$0")/lib.sh"
e2e_start_display
e2e_start_game --no-data
[ ! -e "$E2E_RUN/data" ] || fail "a data folder is present"

# The loading screen is all shapes: it shows in full.
wait_for 10 pixel_is 4 240 "187,124,66" 4 || fail "no loading screen"
# The title without its pictures: the plain (0,0,80) background and the side
# strip (black at 0.4) over it.
title_plain() { pixel_is 4 100 "0,0,80" 2 && colour_near "$(pixel_at "$E2E_RUN/shot.png" 635 100)" "0,0,48" 2; }
wait_for 10 title_plain || fail "no plain title screen; $(pixel_at "$E2E_RUN/shot.png" 4 100)"
echo "title drawn without pictures"

# The buttons keep their size without their picture, so the invisible middle
# button still starts a match.
start_match_by_click
echo "match runs without data"
tap_key Escape
wait_for 3 pixel_is 630 470 "36,36,71" 3 || fail "no pause veil"

close_game
[ ! -s "$E2E_RUN/stdout" ] || fail "printed: $(cat "$E2E_RUN/stdout")"
if grep -qiE 'error|fatal|abort|sanitizer' "$E2E_RUN/stderr"; then fail "stderr: $(cat "$E2E_RUN/stderr")"; fi
echo "no data test passed"
