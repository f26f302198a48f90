#!/usr/bin/env bash
# Iconifying during a match saves the state file while iconified; restored,
# the match comes back paused with the panel open.
source "$(dirname "$0")/lib.sh"
STATE="$E2E_RUN/.vorlekstate"
e2e_start_display
e2e_start_game
start_match_by_click
xdotool mousemove --window "$WID" 320 470
[ ! -e "$STATE" ] || fail "state file before any save"

xdotool windowminimize "$WID"
wait_for 10 test -s "$STATE" || fail "no save while iconified"
saved=$(cat "$STATE")
state_valid "$saved" || fail "saved state is not valid: $saved"
# Still iconified: the save came from the suspend, not from a restore.
xprop -id "$WID" WM_STATE | grep -q Iconic || fail "the window is not iconified"
echo "saved while iconified"

# Restored: the panel is open at once, put at exactly half height, so the
# veil's alpha is 0.625 and the background (38,38,75); it stays open.
focus_game
veiled() { pixel_is 630 470 "38,38,75" 3 && colour_near "$(pixel_at "$E2E_RUN/shot.png" 10 470)" "38,38,75" 3; }
wait_for 5 veiled || fail "no pause panel after the restore; corner $(pixel_at "$E2E_RUN/shot.png" 630 470)"
sleep 1
veiled || fail "the pause panel closed by itself"
# Resume works from there: the back control closes the panel.
tap_key Escape
wait_for 3 match_shown || fail "the match did not resume"
close_game
echo "iconify test passed"
