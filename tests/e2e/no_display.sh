#!/usr/bin/env bash
# Without any display the game cannot open its window: it ends at once with code 0, without a
# crash and without touching the save file.
set -uo pipefail
bin=$1
source "$(dirname "$0")/lib.bash"

make_workdir
start_game -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER
expect_clean_exit 5
[ ! -e "$work/keno_save.dat" ] || fail "a start-up error wrote the save file"
echo "no_display: ok"
