#!/usr/bin/env bash
# A state file with one damaged table: that table's " Checksum Invalid" line
# is printed and the table cleared; the settings, badges and other tables load
# and are saved back unchanged.
source "$(dirname "$0")/lib.sh"
STATE="$E2E_RUN/.vorlekstate"

settings="0 0 3 0 0 1 0 0 0 0 80 96 12 0 0 0 0 0 0 0 0 0 0 7 0"
badges="5 0 0 0 0 0 0 -2147483648"
table0="500 30 400 20 300 10 0 0 0 0 0 0 0 0 0 0 0 0 0 0"
table1="900 900 800 0 70 800 0 0 0 0 0 0 0 0 0 0 0 0 0 70"
table2="1000 60 0 50 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0"
good=$(state_string "$settings" "$badges" "$table0" "$table1" "$table2")
state_valid "$good" || fail "the test's own state string is not valid"
# One digit of table 2's best score changed (1000 -> 1001), its sum kept.
damaged=$(sed 's/|1000|60|/|1001|60|/' <<<"$good")
[ "$damaged" != "$good" ] || fail "nothing damaged"
printf '%s' "$damaged" >"$STATE"

e2e_start_display
e2e_start_game
expected=$'Settings Loaded\nBadges Loaded\nHighscore 0 Loaded\nHighscore 1 Loaded\nHighscore 2 Checksum Invalid'
wait_for 5 eval '[ "$(cat "$E2E_RUN/stdout")" = "$expected" ]' ||
  fail "printed: $(cat "$E2E_RUN/stdout")"
echo "load messages right"

# Iconifying saves: everything as loaded, table 2 all zeros.
rm -f "$STATE"
xdotool windowminimize "$WID"
wait_for 10 test -s "$STATE" || fail "no save while iconified"
zeros="0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0"
want=$(state_string "$settings" "$badges" "$table0" "$table1" "$zeros")
[ "$(cat "$STATE")" = "$want" ] || fail "saved $(cat "$STATE"), wanted $want"
echo "saved back with only table 2 cleared"
focus_game
close_game
echo "damaged state test passed"
