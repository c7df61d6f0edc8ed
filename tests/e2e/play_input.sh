#!/usr/bin/env bash
# The player plays with mouse and keyboard on the real window: a click picks a number on Card 1,
# a right click on the Card 1 tab asks where to copy it and "3" copies it to card 3, and ESC saves
# and ends the game with code 0.
set -uo pipefail
bin=$1
source "$(dirname "$0")/lib.bash"

make_workdir
start_xvfb
start_game
main=$(pass_welcome) || exit 1
sleep 0.3
# The window is 1002 x 752: the grid starts at (294, 172) with cells 59.8 x 71 pixels, and the
# Card 1 tab is the second of five 119-pixel tabs just above it.
click_at $((294 + 4 * 598 / 10 + 30)) $((172 + 35))       # number 5
click_at $((294 + 8 * 598 / 10 + 30)) $((172 + 71 + 35))  # number 19
click_at $((294 + 119 + 60)) 146 3                        # right click: Copy Card 1
prompt=$(wait_window "Copy Card 1" 10) || exit 1
xdotool key --window "$prompt" 3 Return
sleep 0.5
press_key Escape
expect_clean_exit 5

save="$work/keno_save.dat"
[ -s "$save" ] || fail "no save written on ESC"
for card in 1 3; do
  base=$((48 + (card - 1) * 80))
  [ "$(byte_at "$save" $((base + 4)))" = 1 ] || fail "card $card does not hold 5"
  [ "$(byte_at "$save" $((base + 18)))" = 1 ] || fail "card $card does not hold 19"
done
picks=$(od -An -tu1 -j 48 -N 320 "$save" | tr -s ' ' '\n' | grep -c '^1$')
[ "$picks" -eq 4 ] || fail "the save holds $picks picks, expected 4"
echo "play_input: ok"
