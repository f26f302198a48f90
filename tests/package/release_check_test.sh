#!/usr/bin/env bash
# scripts/release-check on small release folders made here: one made the way
# scripts/release makes its archives passes, and each fault a careless build
# brings in (an owner, a clock, an order, a mode, a build path, a wrong
# VERSION, a changed byte) is found and named.
set -euo pipefail
CHECK=${BW_SOURCE_DIR:?}/scripts/release-check
export LC_ALL=C TZ=UTC SOURCE_DATE_EPOCH=1700000000
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# release NAME TAR_OPTIONS...: a release folder $tmp/NAME/1.2.3 with a tarball
# and a zip of the same small tree, and SHA256SUMS. $EDIT runs before the
# files get the commit's time and modes, $TOUCH after.
release() {
  local name=$1 dir=$tmp/$1/1.2.3 top=$tmp/$1/stage/game-1.2.3
  shift
  mkdir -p "$dir" "$top/data/b" "$top/data/a"
  echo 1.2.3 >"$top/VERSION"
  echo picture >"$top/data/a/one.png"
  echo sound >"$top/data/b/two.ogg"
  [ -n "${EDIT:-}" ] && eval "$EDIT"
  chmod -R u+rwX,go+rX,go-w "$top"
  find "$top" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
  [ -n "${TOUCH:-}" ] && eval "$TOUCH"
  tar -C "$(dirname "$top")" --sort=name --format=gnu --numeric-owner --owner=0 --group=0 \
    "$@" -cf - game-1.2.3 | gzip -9n >"$dir/game-1.2.3.tar.gz"
  (cd "$top" && find . -mindepth 1 | sed 's|^\./||' | ${ZIP_ORDER:-sort} | zip -q -X -D -@ "$dir/game-1.2.3.zip")
  (cd "$dir" && sha256sum * >SHA256SUMS)
}

# expect_fault NAME MESSAGE: the check fails on NAME's folder, saying MESSAGE.
expect_fault() {
  local out
  if out=$("$CHECK" "$tmp/$1/1.2.3" "$tmp/build-place" 2>&1); then fail "$1 passed: $out"; fi
  grep -qF -- "$2" <<<"$out" || fail "$1: expected \"$2\", got: $out"
}

release good
"$CHECK" "$tmp/good/1.2.3" "$tmp/build-place" >/dev/null || fail "a clean release: $("$CHECK" "$tmp/good/1.2.3" 2>&1)"

release owner --owner=1000
expect_fault owner "not owned by root"
release clock --mtime=@1800000000
expect_fault clock "rather than the commit's time"
TOUCH='touch -d @1800000000 "$top/data/a/one.png"' release one_late
expect_fault one_late "carry different times"
ZIP_ORDER="sort -r" release order
expect_fault order "not in name order"
TOUCH='chmod 666 "$top/data/a/one.png"' release mode
expect_fault mode "modes other than 644/755"
EDIT='echo "$tmp/build-place/src/main.cpp" >"$top/data/b/two.ogg"' release path
expect_fault path "keeps the build path"
EDIT='echo 1.2.4 >"$top/VERSION"' release version
expect_fault version "no VERSION 1.2.3"
release damaged
printf 'x' >>"$tmp/damaged/1.2.3/game-1.2.3.zip"
expect_fault damaged "SHA256SUMS does not verify"
release unlisted
echo notes >"$tmp/unlisted/1.2.3/notes.md"
expect_fault unlisted "does not name every file"
echo "release-check: a clean folder passes; nine faults are each named"
