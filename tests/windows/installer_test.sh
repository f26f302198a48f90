#!/usr/bin/env bash
# The installer as a player meets it, in a Wine prefix of its own: a silent
# install under Program Files with a Start-menu entry and an Apps & features
# entry; the installed game, started from an unrelated folder, saves under
# %APPDATA%\Brindlewick and leaves its start folder alone; a silent uninstall
# removes the program and keeps the save.
E2E_BIN=unset
source "$(dirname "$0")/../e2e/lib.sh"
WINEPREFIX="$(cd "${WIN_DIR:?}" && pwd)/wine-installer"
source "$(dirname "$0")/wine_lib.sh"
rm -rf "$WINEPREFIX"
wine_up
trap 'wine_down; rm -rf "$WINEPREFIX"; e2e_cleanup' EXIT

VERSION=$(win_version) || fail "no single zip in $WIN_DIR"
C="$WINEPREFIX/drive_c"
PROGRAM="$C/Program Files/Brindlewick"
SHORTCUT="$C/ProgramData/Microsoft/Windows/Start Menu/Programs/Brindlewick.lnk"
KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Brindlewick'
APPDATA_DIR="$C/users/$(id -un)/AppData/Roaming/Brindlewick"

"$WINE" "$WIN_DIR/brindlewick-$VERSION-setup.exe" /S || fail "the silent install failed with status $?"
for f in brindlewick.exe OpenAL32.dll uninstall.exe readme.txt data/tavo_font.png licences/openal-soft.txt; do
  [ -s "$PROGRAM/$f" ] || fail "not installed: $f"
done
[ -f "$SHORTCUT" ] || fail "no Start-menu entry"
"$WINE" reg query "$KEY" /v UninstallString >"$E2E_RUN/reg.txt" 2>&1 ||
  fail "no Apps & features entry: $(cat "$E2E_RUN/reg.txt")"
grep -q 'uninstall.exe' "$E2E_RUN/reg.txt" || fail "uninstall entry: $(cat "$E2E_RUN/reg.txt")"
"$WINE" reg query "$KEY" >"$E2E_RUN/reg.txt" 2>&1
grep -Eq "DisplayVersion[[:space:]]+REG_SZ[[:space:]]+$VERSION\b" "$E2E_RUN/reg.txt" ||
  fail "Apps & features shows another version: $(cat "$E2E_RUN/reg.txt")"
IFS=. read -r major minor _ <<<"$VERSION"
grep -Eq "VersionMajor[[:space:]]+REG_DWORD[[:space:]]+0x0*$(printf %x "$major")\b" "$E2E_RUN/reg.txt" &&
  grep -Eq "VersionMinor[[:space:]]+REG_DWORD[[:space:]]+0x0*$(printf %x "$minor")\b" "$E2E_RUN/reg.txt" ||
  fail "version numbers of the entry: $(cat "$E2E_RUN/reg.txt")"
echo "installed under Program Files"

# The installed game, from a folder of the player's.
START="$E2E_RUN/start"
mkdir -p "$START"
printf '#!/bin/sh\nexec "%s" "C:\\\\Program Files\\\\Brindlewick\\\\brindlewick.exe"\n' "$WINE" >"$E2E_RUN/launch"
chmod +x "$E2E_RUN/launch"
E2E_BIN="$E2E_RUN/launch"
e2e_start_display
E2E_CWD=$START e2e_start_game --no-data
wait_for 30 title_with_pictures || fail "installed game: no pictures; $(pixel_at "$E2E_RUN/shot.png" 4 100)"
STATE="$APPDATA_DIR/.vorlekstate"
[ ! -e "$STATE" ] || fail "state saved before any suspend"
xdotool windowminimize "$WID"
wait_for 10 test -s "$STATE" || fail "iconifying saved nothing into %APPDATA%\\Brindlewick"
state_valid "$(cat "$STATE")" || fail "saved state is not valid: $(cat "$STATE")"
focus_game
close_game 15
[ -z "$(ls -A "$START")" ] || fail "files appeared in the start folder: $(ls -A "$START")"
[ -z "$(ls -A "$PROGRAM" | grep -v -x -e brindlewick.exe -e OpenAL32.dll -e uninstall.exe \
  -e readme.txt -e data -e licences -e brindlewick.installed)" ] || fail "files appeared beside the installed game: $(ls -A "$PROGRAM")"
echo "the installed game saved under %APPDATA%\\Brindlewick"

# NSIS's uninstaller runs a copy of itself from the temporary folder and
# returns at once: wait for the program folder to go.
saved=$(cat "$STATE")
"$WINE" "C:\\Program Files\\Brindlewick\\uninstall.exe" /S || fail "the silent uninstall failed with status $?"
wait_for 30 test ! -e "$PROGRAM" || fail "left behind: $(ls -A "$PROGRAM")"
[ ! -e "$SHORTCUT" ] || fail "the Start-menu entry stayed"
! "$WINE" reg query "$KEY" >/dev/null 2>&1 || fail "the Apps & features entry stayed"
[ "$(cat "$STATE" 2>/dev/null)" = "$saved" ] || fail "uninstalling touched the save"
echo "uninstalled; the save stays"
echo "windows installer test passed"
