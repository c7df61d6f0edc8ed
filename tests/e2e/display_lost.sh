#!/usr/bin/env bash
# The X server goes away under a game in auto-run at the fastest speed, where the debounced save
# keeps being put off: killed outright (a crash) and ended (a session that closes). The game saves
# on its way out and ends with code 0; the save holds every draw seen to end, with the money
# conserved.
set -uo pipefail
bin=$1
source "$(dirname "$0")/lib.bash"
source "$(dirname "$0")/session_end.bash"

for signal in KILL TERM; do
  auto_run_two_draws
  kill -s "$signal" "$xvfb_pid"
  wait "$xvfb_pid" 2>/dev/null
  xvfb_pid=
  expect_clean_exit 10
  check_auto_run_save 2
  echo "X server SIG$signal during auto-run: saved $(save_field "$work/keno_save.dat" genBet) draws"
  end_round
done
echo "display_lost: ok"
