#!/usr/bin/env bash
# Without a data folder anywhere it looks (./data, beside the executable, the
# installed share folder) the game opens no window: it says once on standard
# error which folders it tried and ends with a non-zero status.
source "$(dirname "$0")/lib.sh"
e2e_start_display
# A copy of the program alone, so no data folder sits beside it either.
mkdir -p "$E2E_RUN/games" "$E2E_RUN/start"
cp "$E2E_BIN" "$E2E_RUN/games/brindlewick"
E2E_BIN="$E2E_RUN/games/brindlewick"
# An unrelated "data" folder in the start folder is not taken for the game's.
mkdir "$E2E_RUN/start/data"

status=0
run_watching_window bash -c 'cd "$1" && exec timeout 20 "$2"' _ "$E2E_RUN/start" "$E2E_BIN" \
  >"$E2E_RUN/stdout" 2>"$E2E_RUN/stderr" || status=$?
[ "$status" != 124 ] || fail "the game kept running without data"
[ "$status" != 0 ] || fail "exit status 0 without data"
echo "exit status $status"
[ "$WINDOW_SEEN" = no ] || fail "a window opened without data"

[ "$(wc -l <"$E2E_RUN/stderr")" = 1 ] || fail "expected one line on stderr: $(cat "$E2E_RUN/stderr")"
for folder in ./data/ "$E2E_RUN/games/data/" "$E2E_RUN/share/games/brindlewick/data/"; do
  grep -qF "$folder" "$E2E_RUN/stderr" || fail "the message does not name $folder: $(cat "$E2E_RUN/stderr")"
done
[ ! -s "$E2E_RUN/stdout" ] || fail "printed: $(cat "$E2E_RUN/stdout")"
[ -z "$(ls -A "$E2E_RUN/start/data")" ] && [ "$(ls -A "$E2E_RUN/start")" = data ] ||
  fail "files appeared in the start folder: $(ls -A "$E2E_RUN/start")"
echo "no data test passed"
