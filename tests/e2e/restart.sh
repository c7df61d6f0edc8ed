#!/usr/bin/env bash
# A game played, ended and started again in the same directory: picks made on Card 1 and Card 2
# in the first run come back in the second, which greets nobody and opens on the Main tab showing
# every picked number purple. The second run proves it is past the start-up greeting by answering
# a right click on the Main grid (the heat map replaces the picks, and its marker dot shows on the
# Main tab), since a modal box would hold the frame loop; no welcome window exists at all.
set -uo pipefail
bin=$1
source "$(dirname "$0")/lib.bash"

card1=(5 17 42)
card2=(17 60)

first_start
for n in "${card1[@]}"; do
  click_held $(cell_centre "$n")
  wait_until 10 "number $n did not turn purple on Card 1" px_is $(cell_face "$n") "$kCellPicked"
done
click_held $(tab_face 2)
wait_until 10 "the Card 2 tab is not selected" px_is $(tab_face 2) "$kGold"
for n in "${card2[@]}"; do
  click_held $(cell_centre "$n")
  wait_until 10 "number $n did not turn purple on Card 2" px_is $(cell_face "$n") "$kCellPicked"
done
press_key Escape
expect_clean_exit 10
save="$work/keno_save.dat"
[ -s "$save" ] || fail "no save written on ESC"
cp "$save" "$work/first.dat"

start_game
main=$(wait_window "$kWindowTitle" 30) || exit 1
read_client_size
main_view_shows_picks() {
  px_is $(tab_face 0) "$kGold" || return 1
  local n
  for n in "${card1[@]}" "${card2[@]}"; do
    px_is $(cell_face "$n") "$kCellPicked" || return 1
  done
  # An unpicked number stays idle blue.
  px_is $(cell_face 1) "$kCellIdle"
}
wait_until 20 "the Main view does not show the saved picks" main_view_shows_picks

expect_no_greeting "a returning player was greeted"
px_is $(cell_face 5) "$kCellIdle" || fail "the heat map did not replace the picks"
click_held $(cell_centre 33) 3
wait_until 10 "the picks did not come back after the heat map" main_view_shows_picks

press_key Escape
expect_clean_exit 10
cmp -s "$save" "$work/first.dat" || fail "the second run did not save the game it loaded"
echo "restart: ok"
