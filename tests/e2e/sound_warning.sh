#!/usr/bin/env bash
# Without a sound device the game warns once, before its window opens, then plays silently.
set -uo pipefail
bin=$1
xclose=$2
source "$(dirname "$0")/lib.bash"

make_workdir
start_xvfb
start_game SDL_AUDIODRIVER=no-such-device
warning=$(wait_window "Keno" 30) || exit 1
xwininfo -root -tree | grep -qF "\"$kWindowTitle\"" &&
  fail "the game window opened before the sound warning was answered"
answer_box "$warning" Return
pass_welcome
"$xclose" "$main"
expect_clean_exit 10
echo "sound_warning: ok"
