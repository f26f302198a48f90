#!/usr/bin/env bash
# A release folder as a distributor checks it: scripts/release-check passes,
# each download is there under the version's name, the source tarball is the
# commit, and the notes are the README's.
#   release_contents_test.sh FOLDER    (a release_build.sh folder)
set -euo pipefail
fail() { echo "FAIL: $*" >&2; exit 1; }
sums=$(ls "${1:?release folder}"/out/*/SHA256SUMS) || fail "no SHA256SUMS in $1/out"
dir=$(dirname "$sums")
version=$(basename "$dir")
name=brindlewick-$version
# Sums, VERSION files, archive order, owners, modes and times, and no path of
# the folder it was made in.
SOURCE_DATE_EPOCH=$(git -C "$1/tree" log -1 --format=%ct) \
  "$(dirname "$0")/../../scripts/release-check" "$dir" "$(cd "$1" && pwd)" || fail "the release check"

for f in "brindlewick_${version}_amd64.deb" "$name-linux-x86_64.tar.gz" "$name-web.zip" "$name-src.tar.gz" \
  "$name-release-notes.md"; do
  [ -s "$dir/$f" ] || fail "$f missing: $(ls "$dir")"
done
# The source tarball is the commit: the same files git has.
diff <(tar -tzf "$dir/$name-src.tar.gz" | grep -v '/$' | sed "s|^$name/||" | grep -vx VERSION | sort) \
  <(git -C "$1/tree" ls-files | sort) >/dev/null || fail "the source tarball is not the commit's files"
notes="$dir/$name-release-notes.md"
head -1 "$notes" | grep -qx "# Brindlewick $version" || fail "notes title: $(head -1 "$notes")"
grep -q '^## Downloads$' "$notes" && grep -qF "$name-linux-x86_64.tar.gz" "$notes" &&
  grep -q 'sha256sum -c SHA256SUMS' "$notes" || fail "notes lack the downloads"
! grep -q '<version>' "$notes" || fail "notes kept a <version> placeholder"
echo "release $version: $(ls "$dir" | wc -l) files, SHA256SUMS verifies"
