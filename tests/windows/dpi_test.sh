#!/usr/bin/env bash
# The game from the zip on a desktop scaled to 200 % (Wine's LogPixels 192):
# its window opens at 1280 x 960 pixels, centred on the screen, the title
# shows its pictures and a click on a difficulty where it is drawn at that
# size starts a match. The prefix is set back to 96 dpi afterwards.
E2E_BIN=unset
source "$(dirname "$0")/../e2e/lib.sh"
source "$(dirname "$0")/wine_lib.sh"
set_dpi() {
  "$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
}
# Wine's services read the screen when they start: on the test's display,
# or the game would be centred on a desktop of some other size.
e2e_start_display
wine_up
trap 'set_dpi 96; wine_down; e2e_cleanup' EXIT
set_dpi 192
wine_up  # Wine takes the scale when its services start

VERSION=$(win_version) || fail "no single zip in $WIN_DIR"
unzip -q "$WIN_DIR/brindlewick-$VERSION-win64.zip" -d "$E2E_RUN"
GAME_DIR="$E2E_RUN/brindlewick-$VERSION"
printf '#!/bin/sh\nexec "%s" brindlewick.exe\n' "$WINE" >"$E2E_RUN/launch"
chmod +x "$E2E_RUN/launch"
E2E_BIN="$E2E_RUN/launch"

E2E_CWD=$GAME_DIR e2e_start_game --no-data
wait_for 10 test "$(window_size)" = 1280x960 || fail "window size $(window_size) at 192 dpi"
# Wine makes the X window before the program shows it: its place counts once
# it is on screen.
viewable() { xwininfo -id "$WID" | grep -q 'Map State: IsViewable'; }
wait_for 10 viewable || fail "the window was never shown"
read -r x y < <(xwininfo -id "$WID" | awk '/Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF} END {print x, y}')
echo "1280x960 at $x,$y on a 1600x1200 screen"
[ $((x - 160)) -ge -2 ] && [ $((x - 160)) -le 2 ] && [ $((y - 120)) -ge -2 ] &&
  [ $((y - 120)) -le 2 ] || fail "not centred: $x,$y"

# The title's wood, where title_with_pictures looks at 640 x 480, doubled.
title_at_double_size() {
  screenshot "$E2E_RUN/shot.png" || return 1
  wood "$(pixel_at "$E2E_RUN/shot.png" 8 200)" && wood "$(pixel_at "$E2E_RUN/shot.png" 400 400)" &&
    wood "$(pixel_at "$E2E_RUN/shot.png" 120 920)"
}
wait_for 30 title_at_double_size || fail "no pictures on the title; $(pixel_at "$E2E_RUN/shot.png" 8 200)"
echo "the title shows its pictures"
start_match_by_click 512 672 1280 960
echo "a click on the difficulty drawn at 1280 x 960 started the match"
close_game 15
echo "windows dpi test passed"
