#!/usr/bin/env bash
# The installed game, run from a prefix it cannot write to, opens its window under Xvfb and keeps
# its save in $XDG_DATA_HOME/tessaline/, leaving the prefix untouched.
set -uo pipefail
build=$1
xclose=$2
bin=$build/tessaline  # lib.bash finds keno-tool beside it
source "$(dirname "$0")/../e2e/lib.bash"
source "$(dirname "$0")/lib.bash"

work=$(mktemp -d)
trap 'chmod -R u+w "$work" 2>/dev/null; cleanup' EXIT
prefix="$work/prefix"
cmake --install "$build" --component tessaline --prefix "$prefix" >"$work/install.log" 2>&1 ||
  fail "cmake --install: $(cat "$work/install.log")"
mkdir -p "$work/home" "$work/data"

if [ "$(id -u)" -eq 0 ]; then
  # Permission bits do not stop root: the game gets a read-only view of the prefix instead.
  launch=(unshare --user --map-root-user --mount
          sh -c 'mount --bind -o ro "$1" "$1" && exec "$1/games/tessaline"' sh "$prefix")
else
  chmod -R a-w "$prefix"
  launch=("$prefix/games/tessaline")
fi

start_xvfb
env HOME="$work/home" XDG_DATA_HOME="$work/data" "${launch[@]}" &
game_pid=$!
pass_welcome
"$xclose" "$main"
expect_clean_exit 5

save="$work/data/tessaline/keno_save.dat"
[ -f "$save" ] || fail "no save file in \$XDG_DATA_HOME/tessaline/"
[ "$(stat -c %s "$save")" -eq 372 ] || fail "the save file has $(stat -c %s "$save") bytes"
expect_file_list "the prefix after a game (the game wrote into it?)" \
  < <(cd "$prefix" && find . -type f -o -type l | sed 's|^\./||')
echo "installed_game: ok"
