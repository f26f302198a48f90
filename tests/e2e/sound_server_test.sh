#!/usr/bin/env bash
# The sound server dies under the running game and comes back: the game keeps
# running, its stream returns and a click on the title is heard again. A
# private PulseAudio plays into a null sink; what reaches it is recorded from
# the sink's monitor.
source "$(dirname "$0")/lib.sh"
command -v pulseaudio >/dev/null && command -v parec >/dev/null ||
  fail "pulseaudio and pulseaudio-utils are needed (scripts/install-deps)"

# A server of its own: private runtime folder and home, no autospawn, so the
# game never reaches another one and never starts one itself.
export XDG_RUNTIME_DIR="$E2E_RUN/xdg" HOME="$E2E_RUN/home"
mkdir -p -m 700 "$XDG_RUNTIME_DIR" "$HOME"
printf 'autospawn = no\n' >"$E2E_RUN/client.conf"
export PULSE_CLIENTCONFIG="$E2E_RUN/client.conf" ALSOFT_DRIVERS=pulse
PULSE_PIDFILE="$XDG_RUNTIME_DIR/pulse/pid"

start_server() {
  pulseaudio -n --daemonize=yes --exit-idle-time=-1 --use-pid-file=yes \
    --load="module-null-sink sink_name=game" \
    --load="module-native-protocol-unix auth-anonymous=1" 2>/dev/null || fail "pulseaudio did not start"
  wait_for 10 pactl info >/dev/null 2>&1 || fail "pulseaudio does not answer"
  wait_for 5 test -s "$PULSE_PIDFILE" || fail "pulseaudio wrote no pid file"
  SERVER_PID=$(cat "$PULSE_PIDFILE")
  E2E_PIDS+=("$SERVER_PID")
}
kill_server() {
  kill -KILL "$SERVER_PID"
  wait_for 5 eval '! kill -0 "$SERVER_PID" 2>/dev/null' || fail "pulseaudio did not end"
}
game_stream() { [ -n "$(pactl list short sink-inputs 2>/dev/null)" ]; }

# Records the sink for a moment while the difficulty is stepped both ways
# (one of the two always moves it, with a click), then tells whether the
# loudest sample stands out of silence.
heard_click() {
  local raw="$E2E_RUN/rec.raw" rec peak
  parec -d game.monitor --raw --format=s16le --channels=1 --rate=22050 >"$raw" 2>/dev/null &
  rec=$!
  E2E_PIDS+=("$rec")
  sleep 0.3
  tap_key Left
  tap_key Right
  sleep 0.5
  kill "$rec" 2>/dev/null || true
  wait "$rec" 2>/dev/null || true
  peak=$(od -An -v -td2 -w2 "$raw" | awk '{ v = $1 < 0 ? -$1 : $1; if (v > m) m = v } END { print m + 0 }')
  echo "peak $peak" >>"$E2E_RUN/peaks"
  [ "$peak" -gt 1000 ]
}

start_server
e2e_start_display
e2e_start_game
wait_for 25 title_with_pictures || fail "no title screen"
wait_for 15 game_stream || fail "the game's stream never reached the server"
wait_for 10 heard_click || fail "no click heard before the restart: $(cat "$E2E_RUN/peaks")"
echo "click heard ($(tail -1 "$E2E_RUN/peaks"))"

kill_server
sleep 2  # the game alone, with no server to play to
kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended with the server: $(cat "$E2E_RUN/stderr")"
start_server
restarted=$(date +%s%N)
wait_for 15 game_stream || fail "the game's stream did not come back; stdout: $(cat "$E2E_RUN/stdout")"
echo "stream back $(( ($(date +%s%N) - restarted) / 1000000 )) ms after the restart"
: >"$E2E_RUN/peaks"
wait_for 10 heard_click || fail "no click heard after the restart: $(cat "$E2E_RUN/peaks")"
echo "click heard again ($(tail -1 "$E2E_RUN/peaks"))"

grep -q "sound output went away" "$E2E_RUN/stdout" || fail "the loss was not reported"
grep -q "sound output is back" "$E2E_RUN/stdout" || fail "the return was not reported"
close_game
echo "sound server test passed"
