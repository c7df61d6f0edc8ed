#!/usr/bin/env bash
# Frames drawn and shown only where they changed reach the real window whole: after two
# auto-run draws, shown in part frame by frame, the quiet board on screen equals the same board
# drawn again in full once the window is unmapped and mapped back (an expose redraws it all).
set -uo pipefail
bin=$1
source "$(dirname "$0")/lib.bash"

auto_run_two_draws

press_key space
auto_run_off() { ! px_is 20 20 "$kDrawAutoRun"; }
wait_until 10 "a SPACE tap did not stop auto-run" auto_run_off
wait_until 60 "the Draw button did not come back to idle" px_is 20 20 "$kDrawIdle"
# The save falls due a few seconds after the last draw; after it nothing more changes.
wait_file "$work/keno_save.dat" 30

# Two screenshots alike in a row: the board is still.
steady() {
  snap || return 1
  cp "$work/shot.ppm" "$work/before.ppm"
  snap || return 1
  cmp -s "$work/shot.ppm" "$work/before.ppm"
}
wait_until 20 "the board did not come to rest" steady

xdotool windowunmap --sync "$main"
xdotool windowmap --sync "$main"
wait_until 10 "the window did not come back" shown "$main"
# Drawn whole again: the same pixels, wherever the expose lands in the frame loop.
same_again() {
  snap || return 1
  cmp -s "$work/shot.ppm" "$work/before.ppm"
}
wait_until 20 "the board drawn whole differs from the one drawn in parts" same_again

press_key Escape
expect_clean_exit 10
echo "partial_frames: ok"
