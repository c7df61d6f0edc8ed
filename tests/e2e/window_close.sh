#!/usr/bin/env bash
# The real game under Xvfb at 96 DPI: a first start greets the player, the window has a
# 1002 x 752 client area and the title, and a close request ends the program with code 0.
set -uo pipefail
bin=$1
xclose=$2
source "$(dirname "$0")/lib.bash"

make_workdir
start_xvfb
start_game
pass_welcome
[ "${W}x$H" = "1002x752" ] || fail "client area is ${W}x$H, expected 1002x752"

kill -0 "$game_pid" 2>/dev/null || fail "the game ended before the close request"
"$xclose" "$main"
expect_clean_exit 10
[ -s "$work/keno_save.dat" ] || fail "no save file written on exit"
echo "window_close: ok"
