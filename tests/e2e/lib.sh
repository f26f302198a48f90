# Helpers for whole-program tests: a private X display with openbox, the real
# game started in a temporary run folder, polling with deadlines.
# Usage: source lib.sh; e2e_start_display; e2e_start_game; ...; (cleanup is automatic)
set -euo pipefail

E2E_BIN=${E2E_BIN:?path to the brindlewick binary}
E2E_DATA=${E2E_DATA:-$(dirname "$E2E_BIN")/data}
E2E_RUN=$(mktemp -d /tmp/bw-e2e-XXXXXX)
E2E_PIDS=()
GAME_PID=""
WID=""

e2e_cleanup() {
  local p
  for p in "${E2E_PIDS[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$E2E_RUN"
}
trap e2e_cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# Polls a command until it succeeds or the deadline (seconds) passes.
wait_for() {
  local deadline=$(( $(date +%s) + $1 )); shift
  until "$@"; do
    [ "$(date +%s)" -ge "$deadline" ] && return 1
    sleep 0.1
  done
}

e2e_start_display() {
  local n
  for n in $(seq 40 99); do
    [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] && continue
    Xvfb :$n -screen 0 1600x1200x24 -nolisten tcp >/dev/null 2>&1 &
    E2E_PIDS+=($!)
    export DISPLAY=:$n
    if wait_for 10 xdpyinfo >/dev/null 2>&1; then break; fi
  done
  openbox >/dev/null 2>&1 &
  E2E_PIDS+=($!)
  wait_for 10 wmctrl -m >/dev/null 2>&1 || fail "window manager did not start"
}

# Starts the game in the run folder (with the data folder unless told not to).
e2e_start_game() {
  [ "${1:-}" = "--no-data" ] || ln -s "$(cd "$E2E_DATA" && pwd)" "$E2E_RUN/data"
  (cd "$E2E_RUN" && exec "$E2E_BIN" >"$E2E_RUN/stdout" 2>"$E2E_RUN/stderr") &
  GAME_PID=$!
  E2E_PIDS+=($GAME_PID)
  wait_for 20 find_window || fail "game window did not appear"
}

find_window() {
  WID=$(xdotool search --name '^Brindlewick$' 2>/dev/null | head -1)
  [ -n "$WID" ]
}

# Exit status of the game once it ends (fails after the deadline).
game_exit_status() {
  local deadline=$(( $(date +%s) + ${1:-10} ))
  while kill -0 "$GAME_PID" 2>/dev/null; do
    [ "$(date +%s)" -ge "$deadline" ] && return 1
    sleep 0.1
  done
  local status=0
  wait "$GAME_PID" || status=$?
  echo "$status"
}

# Total CPU ticks (user + system) the game has used.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$GAME_PID/stat"; }

screenshot() { import -window "$WID" "$1" 2>/dev/null; }

# "r,g,b" of one pixel of a picture.
pixel_at() {
  convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:
}

window_size() { xdotool getwindowgeometry "$WID" | awk '/Geometry/ {print $2}'; }
