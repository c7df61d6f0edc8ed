#!/usr/bin/env bash
# The window resized to 1280 x 780 and then to its minimum size (the one it asks the window
# manager for, read back from its size hints): the game keeps running, and each screenshot shows
# the grid where the layout puts it for that size: the picked corner numbers 1 and 80 purple and
# other numbers blue at their computed cells, the grid's black outline on its computed edges, the
# balls panel from W - 110 with its cage frame, and the bottom margin below the grid. ESC still
# saves the picks.
set -uo pipefail
bin=$1
source "$(dirname "$0")/lib.bash"

kPanelGrey=150,150,160
kCageFrame=170,170,170
kMarginGrey=172,176,185
kBlack=0,0,0
kIdleBevelDark=0,45,110

# Fails with $1 unless pixel ($2, $3) of the latest snap has colour $4.
expect_px() {
  px_is "$2" "$3" "$4" || fail "$1 at ($2, $3) is $(px "$2" "$3"), expected $4 (client $W x $H)"
}

layout_drawn() {
  local x y w h
  read -r x y w h <<<"$(cell_rect 80)"
  # Snapped at the new size, with the balls panel moved to the new right edge.
  [ "$shot_width" -eq "$W" ] && px_is $((W - 110)) 300 "$kPanelGrey" &&
    px_is $((x + w)) 300 "$kBlack"
}

check_layout() {
  local n x y w h
  for n in 1 80; do expect_px "picked number $n" $(cell_face $n) "$kCellPicked"; done
  for n in 10 45 71; do expect_px "number $n" $(cell_face $n) "$kCellIdle"; done
  read -r x y w h <<<"$(cell_rect 80)"
  # Painted boxes are one pixel wider and taller than the pitch: the last ones end on x + w, y + h.
  expect_px "the grid's left edge" 294 $((172 + h / 2)) "$kBlack"
  expect_px "the grid's top edge" $((294 + w / 2)) 172 "$kBlack"
  expect_px "the grid's right edge" $((x + w)) $((172 + h / 2)) "$kBlack"
  # The bottom margin paints over an outline that would fall on its first row.
  if [ $((y + h)) -lt $((H - 12)) ]; then
    expect_px "the grid's bottom edge" $((294 + w / 2)) $((y + h)) "$kBlack"
  else
    expect_px "the grid's bottom bevel" $((294 + w / 2)) $((H - 13)) "$kIdleBevelDark"
  fi
  expect_px "the balls panel" $((W - 110)) $((172 + h / 2)) "$kPanelGrey"
  expect_px "the balls cage" $((W - 110 + 4)) 180 "$kCageFrame"
  expect_px "the bottom margin" $((x + w / 2)) $((H - 12)) "$kMarginGrey"
  expect_px "the stats panel" 293 $((H - 13)) 192,192,192
  expect_px "the bottom margin" 294 $((H - 1)) "$kMarginGrey"
}

resize_to() {
  timeout 20 xdotool windowsize --sync "$main" "$1" "$2" ||
    fail "the window could not be resized to $1 x $2"
  read_client_size
  [ "$W" -eq "$1" ] && [ "$H" -eq "$2" ] || fail "the client area is $W x $H, expected $1 x $2"
  wait_until 20 "the board was not drawn again at $1 x $2" layout_drawn
  kill -0 "$game_pid" 2>/dev/null || fail "the game ended at $1 x $2"
  check_layout
}

first_start
for n in 1 80; do
  click_held $(cell_centre $n)
  wait_until 10 "number $n did not turn purple" px_is $(cell_face $n) "$kCellPicked"
done
check_layout

resize_to 1280 780
hints=$(xprop -id "$main" WM_NORMAL_HINTS)
min_size=$(sed -n 's/.*minimum size: \([0-9]*\) by \([0-9]*\).*/\1 \2/p' <<<"$hints")
read -r min_w min_h <<<"$min_size"
[ -n "$min_w" ] || fail "the window sets no minimum size"
resize_to "$min_w" "$min_h"

press_key Escape
expect_clean_exit 10
save="$work/keno_save.dat"
[ "$(byte_at "$save" 48)" = 1 ] && [ "$(byte_at "$save" 127)" = 1 ] ||
  fail "the picks 1 and 80 of card 1 were not saved"
echo "resize: ok (minimum $min_w x $min_h)"
