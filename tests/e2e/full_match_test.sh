#!/usr/bin/env bash
# A whole match, played without a touch: after a minute the time-up overlay
# dims the field, then the title returns with the score (0) at the head of
# the recent list, on screen and in the saved state file.
source "$(dirname "$0")/lib.sh"
STATE="$E2E_RUN/.vorlekstate"

# Earlier scores in table 1 (the middle difficulty), so the new one visibly
# pushes the recent list down. The best list is all above 0: no new record.
settings="0 0 0 0 0 1 0 0 0 0 64 64 10 0 0 0 0 0 0 0 0 0 0 0 0"
zeros="0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0"
table1="900 70 800 60 700 50 600 40 500 30 400 20 300 10 200 10 100 10 50 10"
printf '%s' "$(state_string "$settings" "0 0 0 0 0 0 0 0" "$zeros" "$table1" "$zeros")" >"$STATE"

e2e_start_display
e2e_start_game
wait_for 5 grep -q "Highscore 2 Loaded" "$E2E_RUN/stdout" || fail "state not loaded: $(cat "$E2E_RUN/stdout")"

# The title at rest, and its recent list (right column, lower half).
title_ready() { ! pixel_is 4 240 "187,124,66" 4 && ! match_shown && settled; }
settled() { a=$(region_sum 0 0 640 480) && sleep 0.2 && [ "$a" = "$(region_sum 0 0 640 480)" ]; }
wait_for 15 title_ready || fail "no title screen"
recent_before=$(region_sum 500 255 140 110)

start_match_by_click
xdotool mousemove --window "$WID" 320 470  # out of the way; no input during the match
rm -f "$STATE"

# Time up: the dimming (black, up to 0.7) over the field and the yellow strip
# (255,255,0 at 0.5) growing from the left edge at 0.45 H. The match lasts
# 60 s (spiders reaching the centre shorten it; the last tick ends it a
# second early).
time_up() {
  pixel_is 630 470 "30,30,60" 3 && colour_near "$(pixel_at "$E2E_RUN/shot.png" 4 216)" "142,142,30" 4
}
wait_for 75 time_up || fail "no time-up overlay"
echo "time-up overlay $(( $(date +%s) - MATCH_STARTED )) s after the match started"
[ ! -e "$STATE" ] || fail "saved before the score was recorded"

# Recorded and saved: 0 at the head of table 1's recent list, the rest moved
# down one place, the best list untouched.
wait_for 5 test -s "$STATE" || fail "no state file after the match"
saved=$(cat "$STATE")
state_valid "$saved" || fail "saved state is not valid: $saved"
table1_after="900 0 800 70 700 60 600 50 500 40 400 30 300 20 200 10 100 10 50 10"
want=$(state_string "$settings" "0 0 0 0 0 0 0 0" "$zeros" "$table1_after" "$zeros")
[ "$saved" = "$want" ] || fail "saved $saved, wanted $want"
echo "score recorded at the head of the recent list"

# Back on the title, once the overlay has faded and the intro slide is done:
# the recent list on screen has changed.
wait_for 10 title_ready || fail "the title did not return"
[ "$(region_sum 500 255 140 110)" != "$recent_before" ] || fail "the recent list on screen did not change"
close_game
echo "full match test passed"
