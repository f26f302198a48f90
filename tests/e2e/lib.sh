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

# Xvfb picks a free display number itself (-displayfd), so tests started at
# the same moment never share or fight over a display.
e2e_start_display() {
  local fdfile="$E2E_RUN/display" n
  Xvfb -displayfd 3 -screen 0 1600x1200x24 -nolisten tcp -noreset 3>"$fdfile" >/dev/null 2>&1 &
  E2E_PIDS+=($!)
  wait_for 10 test -s "$fdfile" || fail "Xvfb did not start"
  n=$(head -1 "$fdfile")
  export DISPLAY=:$n
  wait_for 10 xdpyinfo >/dev/null 2>&1 || fail "display :$n did not answer"
  openbox >/dev/null 2>&1 &
  E2E_PIDS+=($!)
  wait_for 10 wmctrl -m >/dev/null 2>&1 || fail "window manager did not start"
}

# Starts the game in the run folder, or in $E2E_CWD when set (with a data
# folder linked there unless told not to).
# A small keeper shell waits for it and writes its exit status to a file, so
# the status can be read from any shell, even inside $(...).
e2e_start_game() {
  local cwd=${E2E_CWD:-$E2E_RUN}
  [ "${1:-}" = "--no-data" ] || ln -s "$(cd "$E2E_DATA" && pwd)" "$cwd/data"
  rm -f "$E2E_RUN/pid" "$E2E_RUN/exit_status"
  (
    cd "$cwd"
    "$E2E_BIN" >"$E2E_RUN/stdout" 2>"$E2E_RUN/stderr" &
    echo $! >"$E2E_RUN/pid.tmp" && mv "$E2E_RUN/pid.tmp" "$E2E_RUN/pid"
    status=0
    wait $! || status=$?
    echo "$status" >"$E2E_RUN/exit_status.tmp" && mv "$E2E_RUN/exit_status.tmp" "$E2E_RUN/exit_status"
  ) &
  E2E_PIDS+=($!)
  wait_for 10 test -s "$E2E_RUN/pid" || fail "game did not start"
  GAME_PID=$(cat "$E2E_RUN/pid")
  E2E_PIDS=("$GAME_PID" "${E2E_PIDS[@]}")
  wait_for 20 find_window || fail "game window did not appear"
}

find_window() {
  WID=$(xdotool search --name '^Brindlewick$' 2>/dev/null | head -1)
  [ -n "$WID" ]
}

# Runs a command while a poller looks for the game's window, and sets
# WINDOW_SEEN to yes or no: a window looked for only after the program ended
# would never be found. Returns the command's status.
WINDOW_SEEN=""
run_watching_window() {
  local seen="$E2E_RUN/window_seen" watcher status=0
  rm -f "$seen"
  (until find_window; do sleep 0.05; done; touch "$seen") >/dev/null 2>&1 &
  watcher=$!
  "$@" || status=$?
  kill "$watcher" 2>/dev/null || true
  wait "$watcher" 2>/dev/null || true
  WINDOW_SEEN=$([ -e "$seen" ] && echo yes || echo no)
  return "$status"
}

# Waits for the game to end and sets GAME_STATUS to its exit status; fails
# after the deadline (seconds).
GAME_STATUS=""
wait_game_exit() {
  wait_for "${1:-10}" test -s "$E2E_RUN/exit_status" || return 1
  GAME_STATUS=$(cat "$E2E_RUN/exit_status")
}

# The same, printing the status (fails after the deadline).
game_exit_status() {
  wait_game_exit "${1:-10}" || return 1
  echo "$GAME_STATUS"
}

# Total CPU ticks (user + system) the game has used.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$GAME_PID/stat"; }

# ImageMagick's own convert (a wrapper of the same name may come first in PATH).
IM_CONVERT=$([ -x /usr/bin/convert ] && echo /usr/bin/convert || echo convert)

screenshot() { import -window "$WID" "$1" 2>/dev/null; }

# "r,g,b" of one pixel of a picture.
pixel_at() {
  "$IM_CONVERT" "$1" -format "%[fx:int(255*p{$2,$3}.r+0.5)],%[fx:int(255*p{$2,$3}.g+0.5)],%[fx:int(255*p{$2,$3}.b+0.5)]" info:
}

window_size() { xdotool getwindowgeometry "$WID" | awk '/Geometry/ {print $2}'; }

# --- Input: real X events (XTEST), each press held across at least one update.

focus_game() { xdotool windowactivate --sync "$WID" >/dev/null 2>&1 || wmctrl -i -a "$WID"; }

# Presses the left button at window position X Y and releases it ~100 ms later.
click_at() {
  xdotool mousemove --window "$WID" "$1" "$2" mousedown 1
  sleep 0.1
  xdotool mouseup 1
}

# Presses one key (an X key name such as Escape) for ~100 ms.
tap_key() {
  focus_game
  xdotool keydown "$1"
  sleep 0.1
  xdotool keyup "$1"
}

# --- Pictures. Colours are "r,g,b"; TOL is the largest difference per channel.

# True when two colours match within TOL (default 3: blending rounds differently).
colour_near() {
  local tol=${3:-3} a b i d
  IFS=, read -r -a a <<<"$1"
  IFS=, read -r -a b <<<"$2"
  [ "${#a[@]}" = 3 ] && [ "${#b[@]}" = 3 ] || return 1
  for i in 0 1 2; do
    d=$(( a[i] - b[i] ))
    [ "${d#-}" -le "$tol" ] || return 1
  done
}

# Takes a screenshot (to $E2E_RUN/shot.png) and tests one pixel's colour.
pixel_is() {
  screenshot "$E2E_RUN/shot.png" || return 1
  colour_near "$(pixel_at "$E2E_RUN/shot.png" "$1" "$2")" "$3" "${4:-3}"
}

# Polls until pixel X Y of the window shows COLOUR (fails after SECONDS).
wait_pixel() {
  local seconds=$1; shift
  wait_for "$seconds" pixel_is "$@"
}

# "r,g,b r,g,b ..." of pixels X1 Y1 X2 Y2 ... of the window, read in one capture.
probe_pixels() {
  local f="" x y
  while [ $# -ge 2 ]; do
    x=$1 y=$2; shift 2
    f+="%[fx:int(255*p{$x,$y}.r+0.5)],%[fx:int(255*p{$x,$y}.g+0.5)],%[fx:int(255*p{$x,$y}.b+0.5)] "
  done
  import -window "$WID" -depth 8 -format "${f% }\n" info: 2>/dev/null
}

# Appends probe_pixels lines to FILE as fast as captures go, in the background
# until killed (PROBE_PID): a picture that shows for a few frames is still
# caught while the test waits on something else.
start_probing() {
  local file=$1; shift
  (while :; do probe_pixels "$@" >>"$file" || true; done) &
  PROBE_PID=$!
  E2E_PIDS+=("$PROBE_PID")
}

# True when a line of a probe file shows the given colours ("r,g,b" each, one
# per probed pixel), each within 4 per channel.
probes_show() {
  local file=$1 got i
  shift
  while read -r -a got; do
    [ "${#got[@]}" = $# ] || continue
    for ((i = 0; i < $#; i++)); do
      colour_near "${got[i]}" "${@:i+1:1}" 4 || continue 2
    done
    return 0
  done <"$file"
  return 1
}

# Checksum of a rectangle (X Y W H) of the window: equal sums, equal pixels.
region_sum() {
  screenshot "$E2E_RUN/region.png" || return 1
  "$IM_CONVERT" "$E2E_RUN/region.png" -crop "${3}x${4}+${1}+${2}" +repage -depth 8 rgb:- | md5sum | cut -c1-32
}

# Prints "x y" of every pixel of FILE within TOL of colour R,G,B, optionally
# only inside the rectangle X Y W H.
find_colour() {
  local r g b x=${4:-0} y=${5:-0} crop=()
  IFS=, read -r r g b <<<"$2"
  [ $# -ge 7 ] && crop=(-crop "${6}x${7}+${4}+${5}" +repage)
  "$IM_CONVERT" "$1" "${crop[@]}" -depth 8 txt:- | awk -v r="$r" -v g="$g" -v b="$b" \
    -v tol="${3:-3}" -v x0="$x" -v y0="$y" -F'[,:() ]+' '
    function near(p, q) { return (p - q <= tol && q - p <= tol) }
    /^[0-9]/ { if (near($3, r) && near($4, g) && near($5, b)) print $1 + x0, $2 + y0 }'
}

# --- The state file: 98 numbers, each followed by "|", with section sums.

# Builds a valid state string from 25 settings, 8 badge words and the three
# tables, each given as "best0 recent0 best1 recent1 ... best9 recent9".
state_string() {
  local -a settings=($1) badges=($2) t0=($3) t1=($4) t2=($5)
  local out="" sum=0 i t
  for i in $(seq 0 24); do out+="${settings[i]}|"; sum=$(( sum + i * settings[i] )); done
  out+="$sum|"; sum=0
  for i in $(seq 0 7); do out+="${badges[i]}|"; sum=$(( sum + badges[i] )); done
  out+="$sum|"
  for t in 0 1 2; do
    local -n pairs="t$t"
    sum=0
    for i in $(seq 0 9); do
      out+="${pairs[2 * i]}|${pairs[2 * i + 1]}|"
      sum=$(( sum + (i + 4) * pairs[2 * i] + (i + t + 3) * pairs[2 * i + 1] ))
    done
    out+="$sum|"
  done
  echo "$out"
}

# Iconifies the game, which saves when suspended, and waits for a valid
# state file at $1.
iconify_saves_to() {
  xdotool windowminimize "$WID"
  wait_for 10 test -s "$1" || fail "iconifying saved nothing into $(dirname "$1")"
  state_valid "$(cat "$1")" || fail "saved state is not valid: $(cat "$1")"
}

# True when a state string has 98 numbers and every section's sum is right.
state_valid() {
  awk -F'|' '
    function wrap(v) { v = v % 4294967296; if (v >= 2147483648) v -= 4294967296; if (v < -2147483648) v += 4294967296; return v }
    {
      if (NF != 99 || $99 != "") exit 1
      s = 0; for (i = 0; i < 25; i++) s = wrap(s + i * $(i + 1)); if (s != $26) exit 1
      b = 0; for (w = 0; w < 8; w++) b = wrap(b + $(27 + w)); if (b != $35) exit 1
      for (t = 0; t < 3; t++) {
        p = 36 + 21 * t; c = 0
        for (i = 0; i < 10; i++) c = wrap(c + (i + 4) * $(p + 2 * i) + (i + t + 3) * $(p + 2 * i + 1))
        if (c != $(p + 20)) exit 1
      }
    }' <<<"$1"
}

# Number N (0-based) of a state string.
state_token() { cut -d'|' -f$(( $2 + 1 )) <<<"$1"; }

# Closes the window with its close button and expects exit status 0.
close_game() {
  wmctrl -i -c "$WID"
  wait_game_exit "${1:-10}" || fail "close button did not end the game"
  [ "$GAME_STATUS" = 0 ] || fail "exit status $GAME_STATUS; stderr: $(cat "$E2E_RUN/stderr")"
}

# --- Screens of the game (640 x 480 window unless said otherwise).

# True when the match's plain background (100,100,200) shows: two of three
# corners, so a spider passing one does not matter. W H default to 640 480.
match_shown() {
  local w=${1:-640} h=${2:-480} n=0 p
  screenshot "$E2E_RUN/shot.png" || return 1
  for p in "$((w - 10)) $((h - 10))" "10 $((h - 10))" "$((w - 10)) $((h / 4))"; do
    # shellcheck disable=SC2086
    colour_near "$(pixel_at "$E2E_RUN/shot.png" $p)" "100,100,200" 2 && n=$((n + 1))
  done
  [ "$n" -ge 2 ]
}

# The title with its pictures: wood (red well above blue) where the plain
# screens show blue, at the left edge, mid-table and the bottom left.
wood() { local r g b; IFS=, read -r r g b <<<"$1"; [ $((r - b)) -ge 40 ]; }
title_with_pictures() {
  screenshot "$E2E_RUN/shot.png" || return 1
  wood "$(pixel_at "$E2E_RUN/shot.png" 4 100)" && wood "$(pixel_at "$E2E_RUN/shot.png" 200 200)" &&
    wood "$(pixel_at "$E2E_RUN/shot.png" 60 460)"
}

# Clicks the middle difficulty button (0.4 W, 0.7 H) until a match shows: the
# title needs its loading and its intro slide first.
start_match_by_click() {
  local x=${1:-256} y=${2:-336}
  press_middle() { click_at "$x" "$y"; wait_for 1 match_shown "$WIN_W" "$WIN_H"; }
  WIN_W=${3:-640} WIN_H=${4:-480}
  wait_for 25 press_middle || fail "the middle difficulty button did not start a match"
  MATCH_STARTED=$(date +%s)
}
