#!/usr/bin/env bash
# The window is sized from the desktop's logical DPI: with Xft.dpi at 120 the client area opens
# at 1252 x 927.
set -uo pipefail
bin=$1
xclose=$2
source "$(dirname "$0")/lib.bash"

make_workdir
start_xvfb -noreset  # keep the resources xrdb sets once its connection closes
echo "Xft.dpi: 120" | xrdb -merge - || fail "xrdb could not set Xft.dpi"
start_game
pass_welcome
[ "${W}x$H" = "1252x927" ] || fail "client area is ${W}x$H, expected 1252x927"
"$xclose" "$main"
expect_clean_exit 10
echo "window_dpi: ok"
