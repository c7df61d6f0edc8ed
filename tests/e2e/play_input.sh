#!/usr/bin/env bash
# The player plays with mouse and keyboard on the real window: a click picks a number on Card 1,
# a right click on the Card 1 tab asks where to copy it and "3" copies it to card 3, and ESC saves
# and ends the game with code 0.
set -uo pipefail
bin=$1
source "$(dirname "$0")/lib.bash"

first_start
pick 5
pick 19
click_held $(tab_face 1) 3  # right click: Copy Card 1
prompt=$(wait_window "Copy Card 1" 10) || exit 1
answer_box "$prompt" 3 Return
# A copy shows its destination: the Card 3 tab with the copied picks.
card3_holds_copy() {
  px_is $(tab_face 3) "$kGold" && px_is $(cell_face 5) "$kCellPicked" &&
    px_is $(cell_face 19) "$kCellPicked"
}
wait_until 10 "the copy did not show on Card 3" card3_holds_copy
press_key Escape
expect_clean_exit 10

save="$work/keno_save.dat"
[ -s "$save" ] || fail "no save written on ESC"
for card in 1 3; do
  save_holds "$save" "$card" 5 || fail "card $card does not hold 5"
  save_holds "$save" "$card" 19 || fail "card $card does not hold 19"
done
picks=$(save_pick_count "$save")
[ "$picks" -eq 4 ] || fail "the save holds $picks picks, expected 4"
echo "play_input: ok"
