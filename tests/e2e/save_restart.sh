#!/usr/bin/env bash
# A saved game comes back: started over a save file holding picks, the game greets nobody (it
# opens on the Main tab) and, closed again, writes back exactly the balance, lifetime figures,
# settings, pot and picks it read.
set -uo pipefail
bin=$1
xclose=$2
source "$(dirname "$0")/lib.bash"

make_workdir
# balance, genWon, genBet, casWon, casBet, bet, mode, pot, speed, sound; 5 picks on card 2 and
# 12 on card 4; the checksum is the wrapped sum of the ten fields XOR the magic.
perl -e '
  my @f = (4321, 150, 300, 40, 80, 7, 1, 25678, 5, 0);
  my $sum = 0; $sum = ($sum + $_) & 0xFFFFFFFF for @f;
  my @cards = ([], [3, 17, 33, 49, 80], [], [1 .. 12]);
  my $picks = "";
  for my $card (@cards) {
    my @b = (0) x 80; $b[$_ - 1] = 1 for @$card; $picks .= pack("C80", @b);
  }
  print pack("l<2", 0x4B454E4F, 7), pack("l<10", @f), $picks, pack("L<", $sum ^ 0x4B454E4F);
' >"$work/keno_save.dat"
cp "$work/keno_save.dat" "$work/expected.dat"
[ "$(stat -c %s "$work/keno_save.dat")" -eq 372 ] || fail "fixture is not 372 bytes"

start_xvfb
start_game
main=$(wait_window "Tessaline by Brindlec 6.40" 30) || exit 1
read_client_size
expect_no_greeting "a saved game with picks was greeted as a first start"
"$xclose" "$main"
expect_clean_exit 10
cmp "$work/keno_save.dat" "$work/expected.dat" || fail "the save written on exit differs from the one loaded"
ls "$work" | grep -q '\.tmp$' && fail "a temporary save file was left behind"
echo "save_restart: ok"
