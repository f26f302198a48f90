#!/usr/bin/env bash
# The Debian package as a player gets it: built from this tree, unpacked into a
# throwaway root, started from an unrelated folder with a fresh HOME. Then a
# build-tree binary started from the repository root, and the installed game
# without its data.
source "$(dirname "$0")/../e2e/lib.sh"
BUILD=${BW_BINARY_DIR:?build folder}
SOURCE=${BW_SOURCE_DIR:?source folder}
ROOT="$E2E_RUN/root"
START="$E2E_RUN/start"
export HOME="$E2E_RUN/home"
unset XDG_DATA_HOME
mkdir -p "$ROOT" "$START" "$HOME"

# --- The package itself.
"${CPACK:-cpack}" -G DEB --config "$BUILD/CPackConfig.cmake" -B "$E2E_RUN/pkg" >"$E2E_RUN/cpack.log" 2>&1 ||
  fail "cpack: $(cat "$E2E_RUN/cpack.log")"
debs=("$E2E_RUN"/pkg/brindlewick_*_"$(dpkg --print-architecture)".deb)
[ ${#debs[@]} = 1 ] && [ -f "${debs[0]}" ] || fail "no package: $(ls "$E2E_RUN/pkg")"
deb=${debs[0]}
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libglfw3 libopenal1 libgl1; do
  grep -qE "(^|, )$lib( |,|$)" <<<"$depends" || fail "Depends lacks $lib: $depends"
done
[ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "section $(dpkg-deb -f "$deb" Section)"
if command -v lintian >/dev/null; then
  lintian --fail-on error "$deb" >"$E2E_RUN/lintian.log" 2>&1 || fail "lintian: $(cat "$E2E_RUN/lintian.log")"
fi
echo "package $(basename "$deb") built"

dpkg-deb -x "$deb" "$ROOT"
GAME="$ROOT/usr/games/brindlewick"
SHARE="$ROOT/usr/share"
[ -x "$GAME" ] || fail "no program under /usr/games"
[ -f "$SHARE/games/brindlewick/data/tavo_font.png" ] || fail "no data under share/games"
[ ! -e "$SHARE/games/brindlewick/data/.generated" ] || fail "the build stamp was installed"
desktop="$SHARE/applications/brindlewick.desktop"
grep -qx 'Categories=Game;ArcadeGame;' "$desktop" && grep -qx 'Exec=brindlewick' "$desktop" &&
  grep -qx 'Icon=brindlewick' "$desktop" || fail "desktop entry: $(cat "$desktop")"
for size in 16 24 32 48 64 128 256; do
  icon="$SHARE/icons/hicolor/${size}x${size}/apps/brindlewick.png"
  [ "$(identify -format '%wx%h' "$icon" 2>/dev/null)" = "${size}x${size}" ] || fail "icon $icon"
done
grep -q '<launchable type="desktop-id">brindlewick.desktop</launchable>' \
  "$SHARE/metainfo/brindlewick.metainfo.xml" || fail "no AppStream metainfo"
zcat "$SHARE/man/man6/brindlewick.6.gz" | grep -q '^\.TH BRINDLEWICK 6' || fail "no manual page"
echo "installed layout complete"

e2e_start_display

# --- Installed, started from an unrelated folder.
E2E_CWD=$START E2E_BIN=$GAME e2e_start_game --no-data
wait_for 20 title_with_pictures || fail "installed game: no pictures; $(pixel_at "$E2E_RUN/shot.png" 4 100)"
echo "installed game shows its title"
STATE="$HOME/.local/share/brindlewick/.vorlekstate"
[ ! -e "$STATE" ] || fail "state saved before any suspend"
iconify_saves_to "$STATE"
[ "$(ls -A "$(dirname "$STATE")")" = .vorlekstate ] || fail "state folder: $(ls -A "$(dirname "$STATE")")"
focus_game
close_game
[ -z "$(ls -A "$START")" ] || fail "files appeared in the start folder: $(ls -A "$START")"
[ ! -s "$E2E_RUN/stderr" ] || fail "stderr: $(cat "$E2E_RUN/stderr")"
echo "installed game saved into the XDG data folder"

# --- A build-tree binary from the repository root finds the data beside it.
if [ -e "$SOURCE/data" ]; then
  echo "skipped the build-tree case: $SOURCE/data exists"
else
  had_state=$([ -e "$SOURCE/.vorlekstate" ] && echo yes || echo no)
  E2E_CWD=$SOURCE E2E_BIN="$BUILD/brindlewick" e2e_start_game --no-data
  wait_for 20 title_with_pictures || fail "build tree: no pictures; $(pixel_at "$E2E_RUN/shot.png" 4 100)"
  close_game
  [ "$had_state" = yes ] || [ ! -e "$SOURCE/.vorlekstate" ] || fail "a state file appeared in $SOURCE"
  [ ! -e "$HOME/.local" ] || [ "$(ls -A "$(dirname "$STATE")")" = .vorlekstate ] ||
    fail "the build tree wrote into the XDG folder"
  echo "build-tree binary shows its title from the repository root"
fi

# --- The installed game without its data: a message and a failure, no window.
rm -rf "$SHARE/games/brindlewick/data"
status=0
run_watching_window bash -c 'cd "$1" && exec timeout 20 "$2"' _ "$START" "$GAME" \
  >"$E2E_RUN/stdout" 2>"$E2E_RUN/stderr" || status=$?
[ "$status" != 0 ] && [ "$status" != 124 ] || fail "exit status $status without data"
grep -qF "$SHARE/games/brindlewick/data/" "$E2E_RUN/stderr" || fail "message: $(cat "$E2E_RUN/stderr")"
[ "$WINDOW_SEEN" = no ] || fail "a window opened without data"
echo "installed game without data: status $status, $(cat "$E2E_RUN/stderr")"
echo "package test passed"
