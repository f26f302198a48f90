#!/usr/bin/env bash
# Same game, same numbers: the web toolchain's replay tool under node prints
# the hashes the desktop's prints, for the recorded match and a random one.
set -euo pipefail
DESKTOP=${DESKTOP_REPLAY:?the desktop replay tool}
WEB=${WEB_REPLAY:?replay.js of the web build}
DATA=${DATA_DIR:?the data folder}
HERE=$(cd "$(dirname "$0")" && pwd)
WORK=$(mktemp -d /tmp/bw-web-replay-XXXXXX)
trap 'rm -rf "$WORK"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
export ALSOFT_DRIVERS=null

# Node's own fetch trips up the program's wasm loading.
web() { node --no-experimental-fetch "$WEB" "$@"; }
hashes() { grep -E '^(updates|state|drawlist|matches) ' || true; }

match=(--data "$DATA" --updates 4000 --script "$HERE/../replay/full_match.txt")
d=$("$DESKTOP" "${match[@]}" --state "$WORK/desktop" 2>/dev/null | hashes)
w=$(web "${match[@]}" --state "$WORK/web" 2>/dev/null | hashes)
echo "$d"
[ "$(wc -l <<<"$d")" = 3 ] || fail "the desktop printed no hashes"
[ "$d" = "$w" ] || fail "the web build printed: $w"
cmp -s "$WORK/desktop" "$WORK/web" || fail "the two builds saved different states"

random=(--data "$DATA" --random 7 --auto-start 3 --matches 1 --updates 0 --quiet)
d=$("$DESKTOP" "${random[@]}" 2>/dev/null | hashes)
w=$(web "${random[@]}" 2>/dev/null | hashes)
[ -n "$d" ] && [ "$d" = "$w" ] || fail "a random match differs: desktop $d, web $w"
echo "web replay test passed"
