#!/usr/bin/env bash
# Two releases of the same commit, made in two folders: every file is the
# same bytes. A difference is named with the first bytes that differ, and for
# an archive the members that differ.
#   release_compare_test.sh FOLDER_A FOLDER_B
# Each folder is a release (build-release/<version>, the full set with the
# Windows pair too) or a release_build.sh folder.
set -euo pipefail
# A folder of SHA256SUMS itself, or a release_build.sh folder with one in out/*/.
release_of() {
  if [ -f "$1/SHA256SUMS" ]; then echo "$1"; else dirname "$(ls "$1"/out/*/SHA256SUMS 2>/dev/null | head -1)"; fi
}
a=$(release_of "${1:?first release}")
b=$(release_of "${2:?second release}")
[ -f "$a/SHA256SUMS" ] && [ -f "$b/SHA256SUMS" ] || { echo "FAIL: no release in $1 or $2" >&2; exit 1; }
[ "$(ls "$a")" = "$(ls "$b")" ] || { echo "FAIL: different files: $(ls "$a") / $(ls "$b")" >&2; exit 1; }

# An archive's listing and its members as "sha256 name" lines.
members() {
  local tmp
  tmp=$(mktemp -d)
  # The listing too: owners, modes and times differ without any content doing so.
  case $1 in
    *.tar.gz) tar --full-time -tvzf "$1" && tar -xzf "$1" -C "$tmp" ;;
    *.zip) unzip -Zl "$1" | sed 1d && unzip -q "$1" -d "$tmp" ;;
    *.deb) dpkg-deb -c "$1" && dpkg-deb -R "$1" "$tmp" ;;
  esac
  (cd "$tmp" && find . -type f -exec sha256sum {} + | sort -k2)
  rm -rf "$tmp"
}

differ=0
for f in $(ls "$a"); do
  cmp -s "$a/$f" "$b/$f" && continue
  differ=1
  echo "DIFFERS: $f ($(cmp -l "$a/$f" "$b/$f" 2>/dev/null | wc -l) bytes; first: $(cmp -l "$a/$f" "$b/$f" 2>/dev/null | head -3 | tr '\n' ' '))"
  diff <(members "$a/$f") <(members "$b/$f") | sed 's/^/  /' | head -20 || true
done
[ "$differ" = 0 ] || { echo "FAIL: the two releases differ" >&2; exit 1; }
echo "$(ls "$a" | wc -l) files identical: $(ls "$a" | tr '\n' ' ')"
