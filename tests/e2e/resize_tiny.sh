#!/usr/bin/env bash
# The window squeezed to 1 x 1 pixel in the middle of a draw (no window manager holds it to its
# minimum size here), then to a sliver of each kind: the game draws at every size, the draw goes
# on, and back at 1280 x 780 the board is whole again. ESC saves the draw.
set -uo pipefail
bin=$1
source "$(dirname "$0")/lib.bash"

kMarginGrey=172,176,185
kBallsPanel=150,150,160

# Resizes window $main to $1 x $2 and fails unless its client area takes that size.
resize() {
  xdotool windowsize --sync "$main" "$1" "$2" 2>/dev/null || xdotool windowsize "$main" "$1" "$2"
  wait_for 10 "the client area did not become $1 x $2" client_is "$1x$2"
  kill -0 "$game_pid" 2>/dev/null || fail "the game ended at $1 x $2"
}
client_is() { [ "$(window_size "$main")" = "$1" ]; }

first_start
for n in 1 2 3; do pick $n; done
# At the default speed the draw takes 11 seconds, long enough to run through every resize.
press_key space
wait_until 10 "SPACE did not start the draw" px_is 20 20 "$kDrawDrawing"

# At 1 x 1 the bottom margin, painted last, covers the top band's corner.
resize 1 1
wait_until 15 "the board was not drawn at 1 x 1" px_is 0 0 "$kMarginGrey"
# One pixel wide: the top band again at the top, the margin at the bottom.
resize 1 780
wait_until 15 "no top band at 1 x 780" px_is 0 0 "$kTopBand"
wait_until 15 "no bottom margin at 1 x 780" px_is 0 779 "$kMarginGrey"
# One pixel high: the margin over the top band everywhere.
resize 1280 1
wait_until 15 "the board was not drawn at 1280 x 1" px_is 640 0 "$kMarginGrey"
resize 1 1
wait_until 15 "the board was not drawn at 1 x 1 again" px_is 0 0 "$kMarginGrey"

resize 1280 780
wait_until 15 "no top band back at 1280 x 780" px_is 5 5 "$kTopBand"
wait_until 15 "the balls panel is not back at x 1170" px_is 1170 300 "$kBallsPanel"
wait_until 15 "the bottom margin is not back at y 768" px_is 640 779 "$kMarginGrey"
# The draw went on through the resizes: its save comes 3 seconds after it ends.
wait_file "$work/keno_save.dat" 60
press_key Escape
expect_clean_exit 10
check_money_conserved "$work/keno_save.dat"
expect_saved "$work/keno_save.dat" genBet 1 "one draw of \$1"
echo "resize_tiny: ok"
