#!/usr/bin/env bash
# What scripts/windows ships: the zip's files and licences, a stripped game
# that needs no MinGW runtime DLL and says what it is (icon, version,
# manifest), an amd64 installer of the same version, both within 15 MB.
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

# Explorer's Properties: name and version from the project's one version number.
COPYRIGHT=$(sed -n 's/^\(Copyright .*\)\.$/\1/p' "$(dirname "$0")/../../packaging/copyright" | head -1)
resources() { python3 "$(dirname "$0")/pe_resources.py" "$1"; }
field() { python3 -c 'import json, sys; r = json.load(sys.stdin); print(eval(sys.argv[1]))' "$1"; }
for program in "$TOP/brindlewick.exe:brindlewick:Brindlewick:1" \
  "$WIN_DIR/tools/replay/replay.exe:replay:Brindlewick replay tool:0"; do
  IFS=: read -r exe name description icons <<<"$program"
  res=$(resources "$exe")
  [ "$(field 'r["icons"]' <<<"$res")" = "$icons" ] || fail "$name: icon groups: $res"
  [ "$(field 'r["version"]' <<<"$res")" = "$VERSION.0" ] || fail "$name: file version: $res"
  for pair in "ProductName=Brindlewick" "ProductVersion=$VERSION" "FileVersion=$VERSION" \
    "FileDescription=$description" "OriginalFilename=$name.exe" "LegalCopyright=$COPYRIGHT"; do
    [ "$(field "r['strings'].get('${pair%%=*}')" <<<"$res")" = "${pair#*=}" ] ||
      fail "$name: ${pair%%=*} is not ${pair#*=}: $res"
  done
  manifest=$(field 'r["manifest"]' <<<"$res")
  for want in '<dpiAwareness[^>]*>PerMonitorV2<' '<dpiAware [^>]*>true/pm<' \
    '<longPathAware[^>]*>true<' 'supportedOS Id="\{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a\}"'; do
    grep -Eq "$want" <<<"$manifest" || fail "$name: the manifest lacks $want: $manifest"
  done
  echo "$name.exe: version $VERSION, manifest per-monitor-v2 and long paths"
done
res=$(resources "$SETUP")
[ "$(field "r['strings'].get('ProductVersion')" <<<"$res")" = "$VERSION" ] &&
  [ "$(field 'r["version"]' <<<"$res")" = "$VERSION.0" ] || fail "installer version: $res"
echo "windows package test passed"
