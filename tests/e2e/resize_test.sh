#!/usr/bin/env bash
# Resizing reloads the assets with the loading screen showing, then the same
# mode goes on at the new layout: the title in a portrait window (whose
# difficulty buttons stand in a column), then a match at 1280 x 960.
source "$(dirname "$0")/lib.sh"
e2e_start_display
e2e_start_game

# The loading screen of a W x H window: its band across the middle fifth.
loading_shown() { pixel_is 4 $(($2 / 2)) "187,124,66" 4 && colour_near "$(pixel_at "$E2E_RUN/shot.png" 4 $(($2 / 5)))" "40,40,80"; }
# A reload at a small size lasts a few frames, shorter than a poll of
# screenshots under load, so captures run in the background from before the
# resize and are looked at afterwards.
resize_to() {
  local want="$1x$2" probes="$E2E_RUN/probes-$1x$2"
  start_probing "$probes" 4 $(($2 / 2)) 4 $(($2 / 5))
  xdotool windowsize "$WID" "$1" "$2"
  wait_for 5 eval '[ "$(window_size)" = "$want" ]' || fail "window is $(window_size), not $1x$2"
  wait_for 10 probes_show "$probes" "187,124,66" "40,40,80" || fail "no loading screen at $1x$2"
  kill "$PROBE_PID"
  echo "loading screen at $1x$2"
}

# The title first, settled after its first load.
title_ready() { ! loading_shown 640 480 && ! match_shown; }
wait_for 10 title_ready || fail "no title screen"

# Portrait: the buttons stand in a column at 0.3 W; the third one at 0.85 H,
# far below the row (0.7 H) of the landscape layout. A press there starts a
# match only if the title came back with the new layout.
resize_to 480 720
start_match_by_click 144 612 480 720
echo "match started from the portrait title"

# Bigger: the match goes on; its background fills the new corners.
resize_to 1280 960
wait_for 10 match_shown 1280 960 || fail "the match did not continue at 1280x960"
echo "match continues at 1280x960"
close_game
echo "resize test passed"
