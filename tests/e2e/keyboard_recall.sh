#!/usr/bin/env bash
# A player who uses only the keyboard: the arrow keys move the focus ring and Enter picks five
# numbers on Card 1, ] raises the speed, SPACE plays a draw, 2 and Enter add a pick on Card 2, a
# second draw, ESC. Started again, G (and a click on the cage) shows both draws in the recall,
# newest first, Right and Left page through them and a click outside closes it; the recall file
# holds both, as keno-tool and tessaline-odds read it. F11 and Alt+Enter fill the screen and give
# the window back.
set -uo pipefail
bin=$1
source "$(dirname "$0")/lib.bash"
odds="$(dirname "$bin")/tessaline-odds"
[ -x "$odds" ] || fail "no $odds beside the game"

first_start
recall="$work/keno_recall.dat"

press_key Right
wait_until 10 "the first arrow key showed no focus ring on 1" focus_ring_on 1
press_keys Right Right
wait_until 10 "two more Right keys did not move the ring to 3" focus_ring_on 3
press_key Return
wait_until 10 "Enter did not pick 3" px_is $(cell_face 3) "$kCellPicked"
# Five picks, so that neither draw can be a jackpot that stops the game with its box.
for step in Down:13 Down:23 Right:24 Right:25; do
  press_key "${step%:*}"
  wait_until 10 "${step%:*} did not move the ring to ${step#*:}" focus_ring_on "${step#*:}"
  press_key Return
  wait_until 10 "Enter did not pick ${step#*:}" px_is $(cell_face "${step#*:}") "$kCellPicked"
done

wait_until 10 "the Speed bar is not drawn" speed_is_known
press_keys bracketright bracketright
wait_until 10 "] did not raise the speed to 5" speed_is 5

press_key space
wait_for 30 "the first draw did not reach the recall" recall_holds "$recall" 1
press_key 2
wait_until 10 "2 did not select Card 2" px_is $(tab_face 2) "$kGold"
press_key Return  # the ring is still on 25
picked_or_hit() { px_is $(cell_face 25) "$kCellPicked" || px_is $(cell_face 25) "$kCellHit"; }
wait_until 10 "Enter did not pick 25 on Card 2" picked_or_hit
press_key space
wait_for 30 "the second draw did not reach the recall" recall_holds "$recall" 2
press_key Escape
expect_clean_exit 10

[ "$(recall_field "$recall" draw1.cards)" = 1,2 ] || fail "the newest draw was not played by cards 1 and 2"
[ "$(recall_field "$recall" draw1.card2.picks)" = 25 ] || fail "card 2 did not play 25"
[ "$(recall_field "$recall" draw2.cards)" = 1 ] || fail "the older draw was not card 1's alone"
for draw in draw1 draw2; do
  [ "$(recall_field "$recall" "$draw.card1.picks")" = 3,13,23,24,25 ] ||
    fail "$draw: card 1 did not play the five numbers Enter picked"
done
report=$("$odds" --recall "$recall") || fail "tessaline-odds could not read the recall"
[ "$(grep -c '^Draw ' <<<"$report")" -eq 2 ] || fail "tessaline-odds does not list two draws"
awk '/^Draw 1,/ {on = 1} /^Draw 2,/ {on = 0} on && /card 2: picks 25$/ {found = 1}
     END {exit !found}' <<<"$report" || fail "tessaline-odds does not list card 2 in the newest draw"

# Started again: the recall the file kept, newest first.
start_game
main=$(wait_window "$kWindowTitle" 30) || exit 1
read_client_size
wait_until 20 "the board was not drawn" px_is $(tab_face 0) "$kGold"
press_key g
wait_until 10 "G did not open the recall" recall_shown
read -r gx gy gw gh <<<"$(grid_rect)"
snap || fail "no screenshot"
newest=$(box_digest "$gx" "$gy" "$gw" "$gh")
stripes_newest=$(count_color "$gx" "$gy" "$gw" "$gh" 4 "$kRecallCardStripe")
press_key Right
page_moved() { [ "$(box_digest "$gx" "$gy" "$gw" "$gh")" != "$newest" ]; }
wait_until 10 "Right did not page to the older draw" page_moved
stripes_older=$(count_color "$gx" "$gy" "$gw" "$gh" 4 "$kRecallCardStripe")
# The newest draw shows two card blocks, the older one.
[ "$stripes_older" -gt 0 ] && [ $((stripes_older * 3)) -lt $((stripes_newest * 2)) ] ||
  fail "the first page ($stripes_newest stripe pixels) is not the two-card newest draw" \
    "($stripes_older on the second)"
press_key Left
page_back() { [ "$(box_digest "$gx" "$gy" "$gw" "$gh")" = "$newest" ]; }
wait_until 10 "Left did not page back to the newest draw" page_back
click_held 100 400  # the stats panel: outside the recall
recall_gone() { ! recall_shown; }
wait_until 10 "a click outside did not close the recall" recall_gone
read -r bx by bw bh <<<"$(rect ballsPanel)"
click_held $((bx + bw / 2)) $((by + 60))  # the cage
wait_until 10 "a click on the cage did not open the recall" recall_shown
snap || fail "no screenshot"
[ "$(box_digest "$gx" "$gy" "$gw" "$gh")" = "$newest" ] || fail "the cage did not open the newest page"
press_key g
wait_until 10 "G did not close the recall" recall_gone

# F11 and Alt+Enter: the whole screen, with the board laid out for it, and back to the window's
# own size and place.
screen=$(xwininfo -root | awk '/^ *Width:/ {w=$2} /^ *Height:/ {h=$2} END {print w "x" h}')
windowed=$(window_size "$main")
place() { xdotool getwindowgeometry "$main" | awk '/Position/ {print $2}'; }
at=$(place)
full_screen() { [ "$(window_size "$main")" = "$screen" ]; }
windowed_again() { [ "$(window_size "$main")" = "$windowed" ] && [ "$(place)" = "$at" ]; }
for key in F11 alt+Return; do
  press_key "$key"
  wait_for 10 "$key did not fill the $screen screen" full_screen
  read_client_size
  wait_until 10 "the board was not laid out for the whole screen" px_is $(tab_face 0) "$kGold"
  press_key "$key"
  wait_for 10 "$key again did not bring back the $windowed window at $at" windowed_again
  read_client_size
  wait_until 10 "the board was not laid out for the window again" px_is $(tab_face 0) "$kGold"
done
press_key Escape
expect_clean_exit 10
[ "$(recall_count "$recall")" -eq 2 ] || fail "the recall lost draws on the second run"
echo "keyboard_recall: ok"
