#!/usr/bin/env bash
# Iconifying during a match saves the state file while iconified; restored
# after more than a minute (longer than a whole match), the match comes back
# paused with the panel open and none of the time away taken off its clock.
source "$(dirname "$0")/lib.sh"
STATE="$E2E_RUN/.vorlekstate"
e2e_start_display
e2e_start_game
start_match_by_click
xdotool mousemove --window "$WID" 320 470
[ ! -e "$STATE" ] || fail "state file before any save"

xdotool windowminimize "$WID"
away_since=$(date +%s)
wait_for 10 test -s "$STATE" || fail "no save while iconified"
saved=$(cat "$STATE")
state_valid "$saved" || fail "saved state is not valid: $saved"
# Still iconified: the save came from the suspend, not from a restore.
xprop -id "$WID" WM_STATE | grep -q Iconic || fail "the window is not iconified"
echo "saved while iconified"
left=$((away_since + 62 - $(date +%s)))
[ "$left" -le 0 ] || sleep "$left"
xprop -id "$WID" WM_STATE | grep -q Iconic || fail "the window came back by itself"

# Restored: the panel is open at once, put at exactly half height, so the
# veil's alpha is 0.625 and the background (38,38,75); it stays open.
focus_game
veiled() { pixel_is 630 470 "38,38,75" 3 && colour_near "$(pixel_at "$E2E_RUN/shot.png" 10 470)" "38,38,75" 3; }
wait_for 5 veiled || fail "no pause panel after the restore; corner $(pixel_at "$E2E_RUN/shot.png" 630 470)"
sleep 1
veiled || fail "the pause panel closed by itself"
# Resume works from there: the back control closes the panel, and the match
# plays on with its clock (the score and time at the top centre) running.
tap_key Escape
wait_for 3 match_shown || fail "the match did not resume"
clock() { region_sum 250 26 140 22; }
for second in 1 2 3; do
  before=$(clock)
  wait_for 3 eval '[ "$(clock)" != "$before" ]' || fail "the clock stands after the restore ($second)"
  match_shown || fail "the match is over after the restore"
done
close_game
echo "iconify test passed"
