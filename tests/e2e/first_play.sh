#!/usr/bin/env bash
# A first start played through: the welcome box shows and Enter closes it on the Card 1 tab; eight
# numbers clicked on Card 1 turn purple; Speed raised to Fast, a click on Draw Numbers draws, and
# all 20 slots of the balls panel fill with green and red balls; ESC saves and ends the game.
# Runs 1 is read without OCR: the "Runs:" line is the last text above the BALANCE band, and its
# value, a "0" before the draw, must then show a narrower glyph of the same height with less ink
# (a "1"; "10" and up would be wider), and the save must say exactly one $1 card was staked.
# The balance is checked against the pay table, with the hits counted from the green cells among
# the picks on the Main view.
set -uo pipefail
bin=$1
source "$(dirname "$0")/lib.bash"

picks=(3 14 25 36 47 58 69 80)
# What an 8-spot card pays at $1 in GENEROUS mode for 0 to 8 hits.
pays=(0 0 0 0 5 25 150 1500 25000)

# The Runs value of the latest snap as "ink width height".
runs_value() {
  local box
  box=$(runs_value_box) || exit 1
  ink_box $box 192,192,192
}

make_workdir
start_xvfb
start_game
welcome=$(wait_window "Welcome to Keno!" 30) || exit 1
main=$(wait_window "$kWindowTitle" 10) || exit 1
wait_for 10 "the welcome box is not shown" shown "$welcome"
read_client_size
answer_box "$welcome" Return
wait_until 15 "the Card 1 tab is not selected after Enter" px_is $(tab_face 1) "$kGold"
value=$(runs_value) || exit 1
read -r ink0 width0 height0 <<<"$value"
[ "$ink0" -gt 0 ] || fail "no Runs value drawn"

for n in "${picks[@]}"; do
  click_held $(cell_centre "$n")
  wait_until 10 "number $n did not turn purple" px_is $(cell_face "$n") "$kCellPicked"
done

# Fast, one step up: the draw takes 5 seconds rather than 11.
raise_speed 4
click_held $(button_centre drawButton)
wait_until 15 "the draw did not start" px_is 20 20 "$kDrawDrawing"
# The draw is over when the Draw button is idle blue again, with all 20 balls in their slots.
wait_until 60 "the draw did not end" px_is 20 20 "$kDrawIdle"
# Twenty letters, each a ball: a reading that failed gives none and does not pass.
all_landed() { [[ "$(balls_in_slots)" =~ ^[GR]{20}$ ]]; }
wait_until 10 "not every slot of the balls panel holds a ball" all_landed

# A "1" is one narrower glyph with less ink than the "0", and as tall.
value=$(runs_value) || exit 1
read -r ink1 width1 height1 <<<"$value"
[ "$ink1" -gt 0 ] && [ "$ink1" -lt "$ink0" ] && [ "$width1" -lt "$width0" ] &&
  [ "$height1" -eq "$height0" ] ||
  fail "the Runs value did not turn from 0 to 1 (ink, width, height:" \
    "$ink0 $width0 $height0, then $ink1 $width1 $height1)"

# The Main view shows the picks: green where hit, purple where not.
px_is $(tab_face 0) "$kGold" || fail "the Main tab is not shown after the draw"
hits=0
for n in "${picks[@]}"; do
  if px_is $(cell_face "$n") "$kCellHit"; then
    hits=$((hits + 1))
  else
    px_is $(cell_face "$n") "$kCellPicked" || fail "pick $n is neither hit nor plain picked"
  fi
done

press_key Escape
expect_clean_exit 10

save="$work/keno_save.dat"
[ -s "$save" ] || fail "no save written on ESC"
saved=$(save_field "$save" card1)
[ "$saved" = "$(IFS=,; echo "${picks[*]}")" ] ||
  fail "card 1 of the save holds the picks '$saved', expected '${picks[*]}'"
[ "$(save_pick_count "$save" 2 3 4)" -eq 0 ] || fail "the save holds picks on other cards"
win=${pays[$hits]}
balance=$(save_field "$save" balance)
[ "$balance" -eq $((1000 - 1 + win)) ] ||
  fail "balance $balance after $hits hits, expected $((999 + win))"
expect_saved "$save" genWon "$win"
expect_saved "$save" genBet 1 "one draw of \$1"
expect_saved "$save" casWon 0 "CASINO figures unmoved"
expect_saved "$save" casBet 0 "CASINO figures unmoved"
expect_saved "$save" speed 4
check_money_conserved "$save"
echo "first_play: ok ($hits hits, balance $balance)"
