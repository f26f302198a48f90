#!/usr/bin/env bash
# Two releases of the same commit, made in two folders: every file is the
# same bytes. A difference is named with the first bytes that differ, and for
# an archive the members that differ.
#   release_compare_test.sh FOLDER_A FOLDER_B    (the release_build.sh folders)
set -euo pipefail
sums_a=$(ls "${1:?first release}"/out/*/SHA256SUMS) && sums_b=$(ls "${2:?second release}"/out/*/SHA256SUMS) ||
  { echo "FAIL: no release in $1 or $2" >&2; exit 1; }
a=$(dirname "$sums_a")
b=$(dirname "$sums_b")
[ "$(ls "$a")" = "$(ls "$b")" ] || { echo "FAIL: different files: $(ls "$a") / $(ls "$b")" >&2; exit 1; }

# Members of an archive as "name sha256" lines.
members() {
  local tmp
  tmp=$(mktemp -d)
  case $1 in
    *.tar.gz) tar -xzf "$1" -C "$tmp" ;;
    *.zip) unzip -q "$1" -d "$tmp" ;;
    *.deb) dpkg-deb -R "$1" "$tmp" ;;
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
