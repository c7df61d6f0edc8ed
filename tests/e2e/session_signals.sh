#!/usr/bin/env bash
# A logout (SIGTERM), Ctrl-C in the terminal (SIGINT) and a closed terminal (SIGHUP) during
# auto-run at the fastest speed, where the debounced save keeps being put off: each ends the game
# the orderly way, with code 0, and leaves a save holding every draw seen to end, with the money
# conserved. A SIGTERM while a box is open (the greeting, the New Game question) answers it as
# closing it would, and the game still saves and ends. So does each signal to an idle game.
set -uo pipefail
bin=$1
source "$(dirname "$0")/lib.bash"
source "$(dirname "$0")/session_end.bash"

for signal in TERM INT HUP; do
  auto_run_two_draws
  kill -s "$signal" "$game_pid"
  expect_clean_exit 10
  check_auto_run_save 2
  echo "SIG$signal during auto-run: saved $(save_field "$work/keno_save.dat" genBet) draws"
  end_round
done

# The greeting of a first start, open when the session ends.
make_workdir
start_xvfb
start_game
wait_window "Welcome to Keno!" 30 >/dev/null
kill -s TERM "$game_pid"
expect_clean_exit 10
expect_saved "$work/keno_save.dat" balance 1000
end_round

# The New Game question asked during auto-run: unanswered, it changes nothing.
auto_run_two_draws
click_held $(button_centre newGameButton)
wait_window "New Game" 10 >/dev/null
kill -s TERM "$game_pid"
expect_clean_exit 10
check_auto_run_save 2
xwininfo -root -tree | grep -qF '"New Game"' && fail "the New Game box outlived the game"
# An idle game waits for its next event with no timeout at all: each signal still wakes it, and it
# saves and ends at once.
for signal in TERM INT HUP; do
  make_workdir
  start_xvfb
  "$keno_tool" save write "$work/keno_save.dat" balance=777 card1=3,11,19 ||
    fail "the starting save could not be written"
  start_game
  main=$(wait_window "$kWindowTitle" 30) || exit 1
  wait_until 15 "the board is not drawn" px_is 5 5 "$kTopBand"
  kill -s "$signal" "$game_pid"
  expect_clean_exit 5
  expect_saved "$work/keno_save.dat" balance 777
  echo "SIG$signal to an idle game: ended and saved"
  end_round
done
echo "session_signals: ok"
