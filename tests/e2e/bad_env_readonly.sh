#!/usr/bin/env bash
# A game folder that cannot be written: the game plays on and keeps its save in
# $XDG_DATA_HOME/tessaline/, both the save that comes due during play and the one on ESC, and
# writes nothing beside itself. Started again, it finds that save: no greeting, the Main tab, and
# the same game written back on ESC.
set -uo pipefail
bin=$1
source "$(dirname "$0")/lib.bash"

make_workdir
trap 'chmod -R u+w "$work" 2>/dev/null; cleanup' EXIT
game="$work/game"
mkdir -p "$game" "$work/home" "$work/data"
mv "$work/tessaline" "$game/"
if [ "$(id -u)" -eq 0 ]; then
  # Permission bits do not stop root: the game gets a read-only view of its folder instead.
  launch=(unshare --mount sh -c 'mount --bind -o ro "$1" "$1" && exec "$1/tessaline"' sh "$game")
else
  chmod a-w "$game"
  launch=("$game/tessaline")
fi

# Runs the game in the background with its home and data folders in the test's directory.
launch_game() {
  env HOME="$work/home" XDG_DATA_HOME="$work/data" "${launch[@]}" &
  game_pid=$!
}

start_xvfb
launch_game
pass_welcome
for n in 1 2 3; do pick $n; done
# The fastest draw, under 2 seconds.
raise_speed 5
press_key space
save="$work/data/tessaline/keno_save.dat"
wait_file "$save" 30
press_key Escape
expect_clean_exit 10

[ "$(stat -c %s "$save")" -eq 372 ] || fail "the save file has $(stat -c %s "$save") bytes"
check_money_conserved "$save"
expect_saved "$save" speed 5
expect_saved "$save" genBet 1 "one draw of \$1"
for n in 1 2 3; do
  save_holds "$save" 1 "$n" || fail "number $n of card 1 was not saved"
done
[ "$(ls -A "$game")" = tessaline ] || fail "the game wrote beside itself: $(ls -A "$game")"
cp "$save" "$work/expected.dat"

launch_game
main=$(wait_window "$kWindowTitle" 30) || exit 1
expect_no_greeting "the saved game was greeted anew"
press_key Escape
expect_clean_exit 10
cmp -s "$save" "$work/expected.dat" || fail "the game came back with another save"
echo "bad_env_readonly: ok"
