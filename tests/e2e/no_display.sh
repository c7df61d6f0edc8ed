#!/usr/bin/env bash
# Without any display the game cannot open its window: it ends at once with code 0, without a
# crash and without touching the save file, and the error it could not show goes to stderr.
set -uo pipefail
bin=$1
source "$(dirname "$0")/lib.bash"

make_workdir
start_game -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER 2>"$work/stderr"
expect_clean_exit 5
[ ! -e "$work/keno_save.dat" ] || fail "a start-up error wrote the save file"
grep -qx "Error: InitSprite() failed - cannot open screen." "$work/stderr" ||
  fail "the start-up error never reached stderr: $(cat "$work/stderr")"
echo "no_display: ok"
