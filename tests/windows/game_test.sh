#!/usr/bin/env bash
# The real game from the zip under Wine in a private Xvfb, unzipped into a
# folder whose name is not ASCII: the title shows its pictures, a click on a
# difficulty starts a match, iconifying saves beside the game, the close
# button ends it with status 0. Without its data folder it says so and ends
# with a non-zero status, opening no window.
E2E_BIN=unset
source "$(dirname "$0")/../e2e/lib.sh"
source "$(dirname "$0")/wine_lib.sh"
wine_up
trap 'wine_down; e2e_cleanup' EXIT

VERSION=$(win_version) || fail "no single zip in $WIN_DIR"
FOLDER="$E2E_RUN/Spïlé 日本"
mkdir -p "$FOLDER"
unzip -q "$WIN_DIR/brindlewick-$VERSION-win64.zip" -d "$FOLDER"
GAME_DIR="$FOLDER/brindlewick-$VERSION"
# Started as from Explorer: the game's own folder is the start folder.
printf '#!/bin/sh\nexec "%s" brindlewick.exe\n' "$WINE" >"$E2E_RUN/launch"
chmod +x "$E2E_RUN/launch"
E2E_BIN="$E2E_RUN/launch"

e2e_start_display
E2E_CWD=$GAME_DIR e2e_start_game --no-data
[ "$(window_size)" = 640x480 ] || fail "window size $(window_size) at 96 dpi"
wait_for 30 title_with_pictures || fail "no pictures on the title; $(pixel_at "$E2E_RUN/shot.png" 4 100)"
echo "the title shows its pictures"
start_match_by_click
echo "a click started the match"
xdotool mousemove --window "$WID" 320 470

STATE="$GAME_DIR/.vorlekstate"
[ ! -e "$STATE" ] || fail "state file before any save"
xdotool windowminimize "$WID"
wait_for 10 test -s "$STATE" || fail "no save beside the game while iconified"
state_valid "$(cat "$STATE")" || fail "saved state is not valid: $(cat "$STATE")"
echo "saved while iconified"
focus_game
close_game 15
[ ! -s "$E2E_RUN/stdout" ] || fail "printed: $(cat "$E2E_RUN/stdout")"
echo "closed with status 0"

# --- Without data: the program and OpenAL alone in another such folder.
BARE="$E2E_RUN/Ohne Daten ü"
mkdir -p "$BARE"
cp "$GAME_DIR/brindlewick.exe" "$GAME_DIR/OpenAL32.dll" "$BARE/"
status=0
run_watching_window bash -c 'cd "$1" && exec timeout 30 "$2" brindlewick.exe' _ "$BARE" "$WINE" \
  >"$E2E_RUN/bare.out" 2>"$E2E_RUN/bare.err" || status=$?
[ "$status" != 124 ] || fail "the game kept running without data"
[ "$status" != 0 ] || fail "exit status 0 without data"
grep -q "data" "$E2E_RUN/bare.err" || fail "no message without data: $(cat "$E2E_RUN/bare.err")"
[ "$WINDOW_SEEN" = no ] || fail "a window opened without data"
[ "$(ls -A "$BARE" | LC_ALL=C sort | tr '\n' ' ')" = "OpenAL32.dll brindlewick.exe " ] ||
  fail "files appeared beside the bare game: $(ls -A "$BARE")"
echo "without data: status $status, $(head -1 "$E2E_RUN/bare.err")"
echo "windows game test passed"
