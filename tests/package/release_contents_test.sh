#!/usr/bin/env bash
# A release folder as a distributor checks it: SHA256SUMS verifies and names
# every file, each download is there under the version's name with a VERSION
# file inside that says the same, and the notes are the README's.
#   release_contents_test.sh FOLDER    (a release_build.sh folder)
set -euo pipefail
fail() { echo "FAIL: $*" >&2; exit 1; }
sums=$(ls "${1:?release folder}"/out/*/SHA256SUMS) || fail "no SHA256SUMS in $1/out"
dir=$(dirname "$sums")
version=$(basename "$dir")
name=brindlewick-$version
(cd "$dir" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not verify"
[ "$(cut -c67- "$sums" | sort)" = "$(cd "$dir" && ls | grep -vx SHA256SUMS | sort)" ] ||
  fail "SHA256SUMS does not name every file: $(cut -c67- "$sums")"
# A changed byte must be noticed.
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cp "$dir/$name-src.tar.gz" "$dir/SHA256SUMS" "$tmp/"
printf '\x01' | dd of="$tmp/$name-src.tar.gz" bs=1 seek=100 conv=notrunc status=none
! (cd "$tmp" && sha256sum --quiet --ignore-missing -c SHA256SUMS >/dev/null 2>&1) || fail "a damaged download verified"

for f in "brindlewick_${version}_amd64.deb" "$name-linux-x86_64.tar.gz" "$name-web.zip" "$name-src.tar.gz" \
  "$name-release-notes.md"; do
  [ -s "$dir/$f" ] || fail "$f missing: $(ls "$dir")"
done
[ "$(dpkg-deb -f "$dir/brindlewick_${version}_amd64.deb" Version)" = "$version" ] || fail "package version"
[ "$(tar -xzOf "$dir/$name-src.tar.gz" "$name/VERSION")" = "$version" ] || fail "VERSION in the source tarball"
[ "$(tar -xzOf "$dir/$name-linux-x86_64.tar.gz" "$name-linux-x86_64/VERSION")" = "$version" ] ||
  fail "VERSION in the portable tarball"
[ "$(unzip -p "$dir/$name-web.zip" VERSION)" = "$version" ] || fail "VERSION in the web zip"
# The source tarball is the commit: the same files git has.
diff <(tar -tzf "$dir/$name-src.tar.gz" | grep -v '/$' | sed "s|^$name/||" | grep -vx VERSION | sort) \
  <(git -C "$1/tree" ls-files | sort) >/dev/null || fail "the source tarball is not the commit's files"
if ls "$dir"/*win64.zip >/dev/null 2>&1; then
  [ "$(unzip -p "$dir/$name-win64.zip" "$name/VERSION" | tr -d '\r')" = "$version" ] || fail "VERSION in the Windows zip"
fi
notes="$dir/$name-release-notes.md"
head -1 "$notes" | grep -qx "# Brindlewick $version" || fail "notes title: $(head -1 "$notes")"
grep -q '^## Downloads$' "$notes" && grep -qF "$name-linux-x86_64.tar.gz" "$notes" &&
  grep -q 'sha256sum -c SHA256SUMS' "$notes" || fail "notes lack the downloads"
! grep -q '<version>' "$notes" || fail "notes kept a <version> placeholder"
echo "release $version: $(ls "$dir" | wc -l) files, SHA256SUMS verifies"
