#!/usr/bin/env bash
# Same game, same numbers: the replay tool built for Windows prints under Wine
# the hashes the Linux one prints, for the recorded match and a random one,
# and saves the same state file.
set -euo pipefail
source "$(dirname "$0")/wine_lib.sh"
DESKTOP=${DESKTOP_REPLAY:?the Linux replay tool}
DATA=${DATA_DIR:?the data folder}
HERE=$(cd "$(dirname "$0")" && pwd)
WORK=$(mktemp -d /tmp/bw-win-replay-XXXXXX)
wine_up
trap 'wine_down; rm -rf "$WORK"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

windows() { "$WINE" "$WIN_DIR/tools/replay/replay.exe" "$@"; }
# Wine ends lines of a console program's output as Linux does; the \r is
# dropped anyway should a line ever carry one.
hashes() { tr -d '\r' | grep -E '^(updates|state|drawlist|matches) ' || true; }

match=(--data "$DATA" --updates 4000 --script "$HERE/../replay/full_match.txt")
l=$("$DESKTOP" "${match[@]}" --state "$WORK/linux" 2>/dev/null | hashes)
w=$(windows "${match[@]}" --state "$WORK/windows" 2>/dev/null | hashes)
echo "$l"
[ "$(wc -l <<<"$l")" = 3 ] || fail "the Linux tool printed no hashes"
[ "$l" = "$w" ] || fail "the Windows build printed: $w"
cmp -s "$WORK/linux" "$WORK/windows" || fail "the two builds saved different states"

random=(--data "$DATA" --random 7 --auto-start 3 --matches 1 --updates 0 --quiet)
l=$("$DESKTOP" "${random[@]}" 2>/dev/null | hashes)
w=$(windows "${random[@]}" 2>/dev/null | hashes)
echo "$l"
[ -n "$l" ] && [ "$l" = "$w" ] || fail "a random match differs: Linux $l, Windows $w"
echo "windows replay test passed"
