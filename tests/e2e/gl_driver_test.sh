#!/usr/bin/env bash
# A graphics driver older than the renderer needs (Mesa made to offer OpenGL
# 1.1): the game names what is missing on standard error and ends with status
# 1, its window never shown. Offering 1.2, the same driver runs the game.
source "$(dirname "$0")/lib.sh"
e2e_start_display
visible_window() { xdotool search --onlyvisible --name '^Brindlewick$' >/dev/null 2>&1; }

ln -s "$(cd "$E2E_DATA" && pwd)" "$E2E_RUN/data"
status=0
(cd "$E2E_RUN" && MESA_GL_VERSION_OVERRIDE=1.1 timeout 20 "$E2E_BIN" >"$E2E_RUN/stdout" 2>"$E2E_RUN/stderr") ||
  status=$?
[ "$status" = 1 ] || fail "exit status $status with OpenGL 1.1; stderr: $(cat "$E2E_RUN/stderr")"
visible_window && fail "a window showed with OpenGL 1.1"
[ "$(wc -l <"$E2E_RUN/stderr")" = 1 ] || fail "expected one line on stderr: $(cat "$E2E_RUN/stderr")"
grep -q "offers OpenGL 1.1; the game needs OpenGL 1.2" "$E2E_RUN/stderr" ||
  fail "the message does not name the versions: $(cat "$E2E_RUN/stderr")"
grep -q "llvmpipe" "$E2E_RUN/stderr" || fail "the message does not name the driver: $(cat "$E2E_RUN/stderr")"
[ ! -s "$E2E_RUN/stdout" ] || fail "printed: $(cat "$E2E_RUN/stdout")"
echo "OpenGL 1.1: status 1, $(cat "$E2E_RUN/stderr")"

rm "$E2E_RUN/data"
MESA_GL_VERSION_OVERRIDE=1.2 e2e_start_game
wait_for 20 visible_window || fail "no window with OpenGL 1.2"
[ ! -s "$E2E_RUN/stderr" ] || fail "complained with OpenGL 1.2: $(cat "$E2E_RUN/stderr")"
wmctrl -c Brindlewick
wait_game_exit 10 || fail "close button did not end the game"
echo "OpenGL 1.2: the game runs"
echo "gl driver test passed"
