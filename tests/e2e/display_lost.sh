#!/usr/bin/env bash
# The X server goes away under a game in auto-run at the fastest speed, where the debounced save
# keeps being put off: killed outright (a crash) and ended (a session that closes). The game saves
# on its way out and ends with code 0; the save holds every draw seen to end, with the money
# conserved. An idle game, its loop asleep until the next event, saves and ends the same way.
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
# An idle game, waiting for its next event with no timeout, finds the display gone all the same.
make_workdir
start_xvfb
"$keno_tool" save write "$work/keno_save.dat" balance=777 card1=3,11,19 ||
  fail "the starting save could not be written"
start_game
main=$(wait_window "$kWindowTitle" 30) || exit 1
wait_until 15 "the board is not drawn" px_is 5 5 "$kTopBand"
kill -s KILL "$xvfb_pid"
wait "$xvfb_pid" 2>/dev/null
xvfb_pid=
expect_clean_exit 10
expect_saved "$work/keno_save.dat" balance 777
echo "X server killed under an idle game: saved"
end_round
echo "display_lost: ok"
