#!/usr/bin/env bash
# The game laid out as an install (a games folder beside share/applications/ with its menu entry)
# and run by whoever runs the tests, root on the build machines: it keeps its save in
# $XDG_DATA_HOME/tessaline/ and writes nothing under its prefix, not even to clear away a
# temporary file a killed save left there. An earlier version's save beside the program is loaded
# only by the user it belongs to: root makes it another user's, and the game greets a first start.
set -uo pipefail
bin=$1
source "$(dirname "$0")/lib.bash"

# One little-endian 32-bit value, as raw bytes.
le32() {
  local v=$(($1 & 0xFFFFFFFF)) hex
  printf -v hex '\\x%02x\\x%02x\\x%02x\\x%02x' \
    $((v & 255)) $((v >> 8 & 255)) $((v >> 16 & 255)) $((v >> 24 & 255))
  printf "$hex"
}

make_workdir
prefix="$work/prefix"
mkdir -p "$prefix/games" "$prefix/share/applications" "$work/home"
mv "$work/tessaline" "$prefix/games/"
echo "[Desktop Entry]" >"$prefix/share/applications/com.brindlec.tessaline.desktop"
# A save of $90,000 with number 1 picked on Card 1.
old="$prefix/games/keno_save.dat"
{
  le32 0x4B454E4F
  le32 7
  for v in 90000 0 0 0 0 1 0 25000 3 1; do le32 "$v"; done
  printf '\x01'
  head -c 319 /dev/zero
  le32 $(((90000 + 1 + 25000 + 3 + 1) ^ 0x4B454E4F))
} >"$old"
[ "$(stat -c %s "$old")" -eq 372 ] || fail "the planted save has $(stat -c %s "$old") bytes"
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
  main=$(wait_window "Tessaline by Brindlec 6.40" 30) || exit 1
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
  [ "$(int_at "$save" 8)" -eq 1000 ] || fail "another user's balance was loaded: $(int_at "$save" 8)"
else
  [ "$(int_at "$save" 8)" -eq 90000 ] || fail "the player's own old save was not loaded"
fi
listing >"$work/after"
diff "$work/before" "$work/after" >&2 || fail "the game wrote under its prefix"
echo "installed_layout: ok (old save another user's: $foreign)"
