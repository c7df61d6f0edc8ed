#!/usr/bin/env bash
# The payout table over the grid: a left click on Payout Table opens it with its header band and
# the green "GENEROUS payouts" caption at the right of the bet row; a right click on the same
# button swaps to the red "CASINO payouts" caption and leaves it open; the next left click, on a
# number, only closes it (the number is not picked). The save written on ESC holds CASINO.
set -uo pipefail
bin=$1
source "$(dirname "$0")/lib.bash"

kHeaderBand=40,40,65
kGenerousCaption=120,255,120
kCasinoCaption=255,120,120

first_start

read -r gx gy gw gh <<<"$(grid_rect)"
row=$(((gh - 26) / 14))
[ $row -lt 16 ] && row=16
[ $row -gt 38 ] && row=38
# The right half of the bet row, where the mode caption ends 10 pixels inside the panel.
caption() { count_color $((gx + gw / 2)) $((gy + row)) $((gw / 2)) "$row" 40 "$1"; }
overlay_in_mode() {
  px_is $((gx + gw / 2)) $((gy + row / 2)) "$kHeaderBand" && [ "$(caption "$1")" -ge 10 ] &&
    [ "$(caption "$2")" -eq 0 ]
}

snap
[ "$(caption "$kGenerousCaption")" -eq 0 ] || fail "a caption shows before the overlay is opened"
read -r bx by <<<"$(button_centre payoutButton)"
click_held "$bx" "$by"
wait_until 10 "the GENEROUS payout table did not open" \
  overlay_in_mode "$kGenerousCaption" "$kCasinoCaption"
click_held "$bx" "$by" 3
wait_until 10 "a right click did not swap the table to CASINO" \
  overlay_in_mode "$kCasinoCaption" "$kGenerousCaption"

click_held $(cell_centre 45)
closed() { px_is $(cell_face 45) "$kCellIdle" && [ "$(caption "$kCasinoCaption")" -eq 0 ]; }
wait_until 10 "the overlay did not close on the next click" closed

press_key Escape
expect_clean_exit 10
save="$work/keno_save.dat"
[ -s "$save" ] || fail "no save written on ESC"
mode=$(save_field "$save" payMode)
[ "$mode" -eq 1 ] || fail "payMode $mode in the save, expected CASINO (1)"
# The game that ESC saved has seen the whole click that closed the overlay, its release too.
picks=$(save_pick_count "$save")
[ "$picks" -eq 0 ] || fail "the click that closed the overlay also picked a number ($picks picks)"
echo "payout_overlay: ok"
