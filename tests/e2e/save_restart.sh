#!/usr/bin/env bash
# A saved game comes back: started over a save file holding picks, the game greets nobody (it
# opens on the Main tab) and, closed again, writes back exactly the balance, lifetime figures,
# settings, pot and picks it read.
set -uo pipefail
bin=$1
xclose=$2
source "$(dirname "$0")/lib.bash"

make_workdir
# Every figure and setting away from a first start's; 5 picks on card 2 and 12 on card 4.
"$keno_tool" save write "$work/keno_save.dat" balance=4321 genWon=150 genBet=300 casWon=40 \
  casBet=80 betPerCard=7 payMode=1 progressivePot=25678 speed=5 soundOn=0 card2=3,17,33,49,80 \
  card4=$(seq -s, 1 12) || fail "the save could not be written"
cp "$work/keno_save.dat" "$work/expected.dat"

start_xvfb
start_game
main=$(wait_window "$kWindowTitle" 30) || exit 1
read_client_size
expect_no_greeting "a saved game with picks was greeted as a first start"
"$xclose" "$main"
expect_clean_exit 10
cmp "$work/keno_save.dat" "$work/expected.dat" || fail "the save written on exit differs from the one loaded"
ls "$work" | grep -q '\.tmp$' && fail "a temporary save file was left behind"
echo "save_restart: ok"
