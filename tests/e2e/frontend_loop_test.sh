#!/usr/bin/env bash
# The whole loop in a real window: from a first run without a state file, the
# middle difficulty button starts a match, the match runs out, the score is
# recorded and saved in table 1; iconifying saves the same bytes again.
source "$(dirname "$0")/lib.sh"
STATE="$E2E_RUN/.vorlekstate"
e2e_start_display
e2e_start_game
[ ! -e "$STATE" ] || fail "state file present before the first run"

# The match screen's plain background, where the title shows its wood.
match_running() { pixel_is 630 470 "100,100,200"; }
title_back() { ! match_running; }

# Presses the middle difficulty button until the match shows: the title
# needs its loading and its intro slide first.
click_normal() {
  click_at 256 336
  wait_for 1 match_running
}
wait_for 20 click_normal || fail "the middle difficulty button did not start a match"
started=$(date +%s)
xdotool mousemove --window "$WID" 320 470  # out of the way; no input during the match

# The score is saved once recorded: at most 60 s of match (spiders reaching
# the centre shorten it) plus the 1.5 s overlay; then the title is back.
wait_for 120 test -s "$STATE" || fail "no state file after the match"
echo "state file written $(($(date +%s) - started)) s after the match started"
wait_for 5 title_back || fail "state saved while the match was still running"
saved=$(cat "$STATE")
echo "saved: $saved"

# 98 numbers, every section's sum valid, table 1 holding the match's score.
# Nothing touched the field, so the score is 0: it leads the recent list of
# table 1 and leaves the best list (all 0) as it was.
state_valid "$saved" || fail "saved state is not valid"
[ "$(state_token "$saved" 57)" = 0 ] || fail "table 1 recent head $(state_token "$saved" 57)"
zeros() { local i; for ((i = 0; i < $1; i++)); do printf '0|'; done; }
expected="0|0|0|0|0|1|0|0|0|0|64|64|10|$(zeros 12)1469|$(zeros 9)$(zeros 63)"
[ "$saved" = "$expected" ] || fail "saved state differs from the expected string"
if grep -q "Checksum Invalid\|Loaded" "$E2E_RUN/stdout"; then fail "unexpected load messages"; fi

# Iconifying saves again: the same bytes come back.
rm -f "$STATE"
xdotool windowminimize "$WID"
wait_for 10 test -s "$STATE" || fail "iconify did not save"
[ "$(cat "$STATE")" = "$saved" ] || fail "iconify saved different bytes: $(cat "$STATE")"

focus_game
close_game
echo "front-end loop test passed"
