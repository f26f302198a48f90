#!/usr/bin/env bash
# What scripts/windows ships: the zip's files and licences, a stripped game
# that needs no MinGW runtime DLL, an amd64 installer, both within 15 MB.
set -euo pipefail
source "$(dirname "$0")/wine_lib.sh"
WORK=$(mktemp -d /tmp/bw-win-package-XXXXXX)
trap 'rm -rf "$WORK"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

VERSION=$(win_version) || fail "no single zip in $WIN_DIR"
ZIP=$WIN_DIR/brindlewick-$VERSION-win64.zip
SETUP=$WIN_DIR/brindlewick-$VERSION-setup.exe
[ -f "$SETUP" ] || fail "no installer"
limit=$((15 * 1024 * 1024))
for f in "$ZIP" "$SETUP"; do
  size=$(stat -c %s "$f")
  echo "$(basename "$f"): $size bytes"
  [ "$size" -le "$limit" ] || fail "$(basename "$f") is over 15 MB"
done

unzip -q "$ZIP" -d "$WORK"
TOP=$WORK/brindlewick-$VERSION
for f in brindlewick.exe OpenAL32.dll readme.txt data/tavo_font.png licences/brindlewick.txt \
  licences/glfw.txt licences/openal-soft.txt licences/openal-soft-source.txt licences/stb.txt \
  licences/mingw-w64.txt; do
  [ -s "$TOP/$f" ] || fail "the zip has no $f"
done
[ ! -e "$TOP/data/.generated" ] || fail "the build stamp was packed"
# Every file the desktop build generated is there, byte for byte.
diff -r -x .generated "$DATA_DIR" "$TOP/data" >/dev/null || fail "data differs from the desktop build's"
grep -q "openal-soft-[0-9.]*\.tar\.xz" "$TOP/licences/openal-soft-source.txt" ||
  fail "the OpenAL notice does not say where its source is"
grep -q "Brindlewick $VERSION" "$TOP/readme.txt" || fail "readme without the version"

dump=$(x86_64-w64-mingw32-objdump -p "$TOP/brindlewick.exe")
imports=$(sed -n 's/^\tDLL Name: //p' <<<"$dump" | tr '[:upper:]' '[:lower:]' | sort | tr '\n' ' ')
echo "imports: $imports"
grep -qw openal32.dll <<<"$imports" || fail "the game does not import OpenAL32.dll"
grep -qiE 'libstdc|libgcc|libwinpthread' <<<"$imports" && fail "a MinGW runtime DLL is imported"
grep -q 'Subsystem.*Windows GUI' <<<"$dump" || fail "the game would open a console window"
x86_64-w64-mingw32-objdump -h "$TOP/brindlewick.exe" | grep -q '\.debug_' && fail "the game is not stripped"
x86_64-w64-mingw32-objdump -p "$TOP/OpenAL32.dll" | grep -qiE 'DLL Name: (libstdc|libgcc|libwinpthread)' &&
  fail "OpenAL32.dll needs a MinGW runtime DLL"
file "$SETUP" | grep -q 'PE32+ executable (GUI) x86-64' || fail "installer: $(file "$SETUP")"
echo "windows package test passed"
