# Shared by the scripts that end a game the way a desktop session does: auto-run at the fastest
# speed on the real window, and what the save must hold afterwards. Source lib.bash first.

# Fails unless the save in the game's folder holds at least $1 draws of $1 on one card, the
# fastest speed, picks on Card 1 and the money conserved.
check_auto_run_save() {
  local save="$work/keno_save.dat" staked picks
  [ -f "$save" ] || fail "no save file"
  [ "$(stat -c %s "$save")" -eq 372 ] || fail "the save has $(stat -c %s "$save") bytes"
  staked=$(save_field "$save" genBet)
  [ "$staked" -ge "$1" ] || fail "the save holds $staked draws staked; $1 had ended on screen"
  expect_saved "$save" speed 5
  picks=$(save_pick_count "$save" 1)
  [ "$picks" -ge 1 ] || fail "no picks on Card 1 in the save"
  check_money_conserved "$save"
}

# Ends this round's game and server and forgets them, for the next round to start afresh.
end_round() {
  cleanup
  game_pid= xvfb_pid= work=
}
