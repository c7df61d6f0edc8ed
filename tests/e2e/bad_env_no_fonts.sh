#!/usr/bin/env bash
# No font file to be found and no sound device: fontconfig knows no fonts, and the font folders
# the game falls back on are hidden behind empty ones. The game still plays: the sound warning and
# the greeting come up as plain boxes and Enter answers them, the board is drawn without its text,
# numbers are picked, a draw runs to its end and ESC saves it.
set -uo pipefail
bin=$1
source "$(dirname "$0")/lib.bash"

make_workdir
cat >"$work/fonts.conf" <<'EOF'
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig></fontconfig>
EOF
run=(env SDL_AUDIODRIVER=no-such-device FONTCONFIG_FILE="$work/fonts.conf"
     HOME="$work/home" XDG_DATA_HOME="$work/data" "$work/tessaline")
# A private mount namespace covers the font folders with empty ones for the game alone (the X
# server keeps its own fonts for the plain boxes). Where namespaces are not allowed, only
# fontconfig is blind and the game's last resort, DejaVu Sans, may still be found.
hide='for d in /usr/share/fonts /usr/local/share/fonts; do
        [ -d "$d" ] && { mount -t tmpfs none "$d" || exit 97; }
      done
      exec "$@"'
ns=(unshare --mount)
[ "$(id -u)" -eq 0 ] || ns=(unshare --user --map-root-user --mount)
if "${ns[@]}" sh -c "$hide" sh true 2>/dev/null; then
  run=("${ns[@]}" sh -c "$hide" sh "${run[@]}")
  how="no font files at all"
else
  how="fontconfig without fonts; namespaces not allowed here"
fi

start_xvfb
"${run[@]}" &
game_pid=$!
warning=$(wait_window "Keno" 30) || exit 1
answer_box "$warning" Return
pass_welcome
if [ "$how" = "no font files at all" ]; then
  # The middle of the Draw Numbers button is its plain face: no label was drawn on it.
  read -r bx by bw bh <<<"$(rect drawButton)"
  colours=$(import -window "$main" -crop "$((bw - 16))x80+$((bx + 8))+$((by + 8))" +repage \
    -format %k info: 2>/dev/null)
  [ "${colours:-0}" -eq 1 ] || fail "the Draw Numbers button shows $colours colours: text was drawn"
fi
for n in 1 2 3; do pick $n; done
# The fastest draw, under 2 seconds.
raise_speed 5
press_key space
# The save comes 3 seconds after the draw ends.
wait_file "$work/keno_save.dat" 60
press_key Escape
expect_clean_exit 10

save="$work/keno_save.dat"
check_money_conserved "$save"
expect_saved "$save" speed 5
expect_saved "$save" genBet 1 "one draw of \$1"
for n in 1 2 3; do
  save_holds "$save" 1 "$n" || fail "number $n of card 1 was not saved"
done
echo "bad_env_no_fonts: ok ($how)"
