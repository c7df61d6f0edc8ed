#!/usr/bin/env bash
# Auto-run from the keyboard at the fastest speed: random picks on Card 1 (right click on
# Auto-Pick), two clicks on the right half of Speed (five lit segments), then SPACE held for more
# than a second turns the Draw button red and draws follow one another unasked (the Runs value in
# the stats panel changes twice); a SPACE tap stops it, the running draw ends and the button stays
# idle with Runs unchanged. The save then holds speed 5, more than one draw staked, and the money
# conserved: balance + genBet + casBet - genWon - casWon = 1000.
set -uo pipefail
bin=$1
source "$(dirname "$0")/lib.bash"

auto_run_two_draws

# A tap stops auto-run: the button leaves red at once and turns idle blue when the running draw
# ends.
press_key space
auto_run_off() { ! px_is 20 20 "$kDrawAutoRun"; }
wait_until 10 "a SPACE tap did not stop auto-run" auto_run_off
wait_until 60 "the Draw button did not come back to idle after a SPACE tap" px_is 20 20 "$kDrawIdle"
runs_box=$(runs_value_box) || exit 1
runs=$(box_digest $runs_box)
# The save falls due 3 seconds after the last draw ended (a draw at this speed is shorter, so none
# fell due while auto-run went on): by then the next draw would have started at once.
save="$work/keno_save.dat"
wait_file "$save" 30
snap
px_is 20 20 "$kDrawIdle" && [ "$(box_digest $runs_box)" = "$runs" ] ||
  fail "a draw started after auto-run stopped"

press_key Escape
expect_clean_exit 10
[ -s "$save" ] || fail "no save written on ESC"
expect_saved "$save" speed 5
picks=$(save_pick_count "$save" 1)
[ "$picks" -ge 1 ] || fail "no picks on card 1 in the save"
staked=$(save_field "$save" genBet)
[ "$staked" -ge 2 ] || fail "GEN bet $staked: auto-run made fewer than two draws"
check_money_conserved "$save"
echo "auto_run: ok ($staked draws, $picks picks)"
