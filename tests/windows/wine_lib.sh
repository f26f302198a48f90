# Helpers for tests of the Windows build (build-win/, $WIN_DIR) under Wine.
# A persistent wineserver is kept up for the whole test: without one, every
# program's start waits seconds for Wine's helper processes to let go.
WIN_DIR=${WIN_DIR:?the Windows build folder}
export WINEPREFIX=${WINEPREFIX:-$WIN_DIR/wine}
export WINEDEBUG=-all
WINE=$WIN_DIR/wine-run
WINESERVER=/usr/lib/wine/wineserver

# The version scripts/windows packed, from the name of the zip.
win_version() {
  local zips=("$WIN_DIR"/brindlewick-*-win64.zip)
  [ ${#zips[@]} = 1 ] && [ -f "${zips[0]}" ] || return 1
  basename "${zips[0]}" -win64.zip | sed 's/^brindlewick-//'
}

# Makes the prefix if needed, then replaces whatever server it had (a
# leftover would end on its own and take the test's programs with it) by a
# persistent one, and starts Wine's own services with it. Started by a first
# program whose output goes nowhere, they hold no test's output pipe open.
# Tests of the Windows build take turns (RESOURCE_LOCK wine).
wine_up() {
  "$WINE" cmd.exe /c exit 0 >/dev/null 2>&1 || true
  "$WINESERVER" -k 2>/dev/null || true
  "$WINESERVER" -w 2>/dev/null || true
  "$WINESERVER" -p
  "$WINE" cmd.exe /c exit 0 >/dev/null 2>&1 </dev/null || true
}

# Ends every Wine process of the prefix and the server.
wine_down() {
  "$WINESERVER" -k 2>/dev/null || true
  "$WINESERVER" -w 2>/dev/null || true
}
