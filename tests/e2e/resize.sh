#!/usr/bin/env bash
# The window resized to 1280 x 780 and then to its minimum size (the one it asks the window
# manager for, read back from its size hints): the game keeps running, and each screenshot shows
# the grid where the layout puts it for that size: the picked corner numbers 1 and 80 purple and
# other numbers blue at their computed cells, the grid's black outline on its computed edges, the
# balls panel at its computed place with its cage frame, and the bottom margin below the grid. ESC
# still saves the picks.
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
  local x y w h px py pw ph
  read -r x y w h <<<"$(cell_rect 80)"
  read -r px py pw ph <<<"$(rect ballsPanel)"
  # Snapped at the new size, with the balls panel moved to the new right edge.
  [ "$shot_width" -eq "$W" ] && px_is "$px" 300 "$kPanelGrey" && px_is $((x + w)) 300 "$kBlack"
}

check_layout() {
  local n x y w h gx gy gw gh px py pw ph sx sy sw sh margin
  for n in 1 80; do expect_px "picked number $n" $(cell_face $n) "$kCellPicked"; done
  for n in 10 45 71; do expect_px "number $n" $(cell_face $n) "$kCellIdle"; done
  read -r x y w h <<<"$(cell_rect 80)"
  read -r gx gy gw gh <<<"$(grid_rect)"
  read -r px py pw ph <<<"$(rect ballsPanel)"
  read -r sx sy sw sh <<<"$(rect statsPanel)"
  margin=$((sy + sh))  # the bottom margin's first row, where the side panels end
  # Painted boxes are one pixel wider and taller than the pitch: the last ones end on x + w, y + h.
  expect_px "the grid's left edge" "$gx" $((gy + h / 2)) "$kBlack"
  expect_px "the grid's top edge" $((gx + w / 2)) "$gy" "$kBlack"
  expect_px "the grid's right edge" $((x + w)) $((gy + h / 2)) "$kBlack"
  # The bottom margin paints over an outline that would fall on its first row.
  if [ $((y + h)) -lt "$margin" ]; then
    expect_px "the grid's bottom edge" $((gx + w / 2)) $((y + h)) "$kBlack"
  else
    expect_px "the grid's bottom bevel" $((gx + w / 2)) $((margin - 1)) "$kIdleBevelDark"
  fi
  expect_px "the balls panel" "$px" $((gy + h / 2)) "$kPanelGrey"
  expect_px "the balls cage" $((px + 4)) $((py + 60)) "$kCageFrame"
  expect_px "the bottom margin" $((x + w / 2)) "$margin" "$kMarginGrey"
  expect_px "the stats panel" $((sx + sw - 1)) $((margin - 1)) 192,192,192
  expect_px "the bottom margin" "$gx" $((H - 1)) "$kMarginGrey"
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
save_holds "$save" 1 1 && save_holds "$save" 1 80 ||
  fail "the picks 1 and 80 of card 1 were not saved"
echo "resize: ok (minimum $min_w x $min_h)"
