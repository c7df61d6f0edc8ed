# Shared by the scripts that end a game the way a desktop session does: auto-run at the fastest
# speed on the real window, and what the save must hold afterwards. Source lib.bash first.

kDrawAutoRun=180,35,35

# A first start that picks Card 1 at random (right click on Auto-Pick), raises the speed to 5
# and holds SPACE until auto-run draws; returns once two draws have ended on screen (the Runs
# value in the stats panel changed twice). Sets $main.
auto_run_two_draws() {
  first_start
  local gx gy gw gh
  read -r gx gy gw gh <<<"$(grid_rect)"
  click_held $(button_centre autoPickButton) 3
  card_has_picks() { [ "$(count_color "$gx" "$gy" "$gw" "$gh" 8 "$kCellPicked")" -gt 1000 ]; }
  wait_until 10 "a right click on Auto-Pick made no picks" card_has_picks
  raise_speed 5
  hold_key space 1.5
  wait_until 10 "holding SPACE did not start auto-run" px_is 20 20 "$kDrawAutoRun"
  runs_box=$(runs_value_box) || exit 1
  runs0=$(box_digest $runs_box)
  runs_moved() { runs1=$(box_digest $runs_box) && [ "$runs1" != "$runs0" ]; }
  wait_until 60 "the first auto-run draw did not end" runs_moved
  runs_moved_again() {
    runs2=$(box_digest $runs_box) && [ "$runs2" != "$runs0" ] && [ "$runs2" != "$runs1" ]
  }
  wait_until 60 "no second draw followed the first" runs_moved_again
  px_is 20 20 "$kDrawAutoRun" || fail "auto-run ended by itself"
}

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
