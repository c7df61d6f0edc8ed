#!/usr/bin/env bash
# The game laid out as an install (a games folder beside share/applications/ with its menu entry)
# and run by whoever runs the tests, root on the build machines: it keeps its save in
# $XDG_DATA_HOME/tessaline/ and writes nothing under its prefix, not even to clear away a
# temporary file a killed save left there. An earlier version's save beside the program is loaded
# only by the user it belongs to: root makes it another user's, and the game greets a first start.
set -uo pipefail
bin=$1
source "$(dirname "$0")/lib.bash"

make_workdir
prefix="$work/prefix"
mkdir -p "$prefix/games" "$prefix/share/applications" "$work/home"
mv "$work/tessaline" "$prefix/games/"
echo "[Desktop Entry]" >"$prefix/share/applications/com.brindlec.tessaline.desktop"
# A save of $90,000 with number 1 picked on Card 1.
old="$prefix/games/keno_save.dat"
"$keno_tool" save write "$old" balance=90000 card1=1 || fail "the save could not be planted"
echo x >"$prefix/games/keno_save.dat.1.0.tmp"
foreign=no
if [ "$(id -u)" -eq 0 ]; then
  chown 65534:65534 "$old" && foreign=yes
fi
# Everything under the prefix: names, sizes, modes, owners, times and contents.
listing() {
  (cd "$prefix" && find . -exec stat -c '%n %s %a %u %Y' {} + | sort &&
    find . -type f -exec md5sum {} + | sort)
}
listing >"$work/before"

start_xvfb
env HOME="$work/home" "$prefix/games/tessaline" &
game_pid=$!
if [ "$foreign" = yes ]; then
  pass_welcome
else
  main=$(wait_window "$kWindowTitle" 30) || exit 1
  read_client_size
fi
# A first start shows Card 1 once the greeting has closed; a loaded game with picks the Main tab.
tab=0
[ "$foreign" = yes ] && tab=1
wait_until 20 "tab $tab is not selected" px_is $(tab_face $tab) "$kGold"
press_key Escape
expect_clean_exit 10

save="$XDG_DATA_HOME/tessaline/keno_save.dat"
[ -f "$save" ] || fail "no save in \$XDG_DATA_HOME/tessaline/"
[ "$(stat -c %s "$save")" -eq 372 ] || fail "the save has $(stat -c %s "$save") bytes"
if [ "$foreign" = yes ]; then
  expect_saved "$save" balance 1000 "a first start: another user's save is not loaded"
else
  expect_saved "$save" balance 90000 "the player's own old save"
fi
listing >"$work/after"
diff "$work/before" "$work/after" >&2 || fail "the game wrote under its prefix"
echo "installed_layout: ok (old save another user's: $foreign)"
