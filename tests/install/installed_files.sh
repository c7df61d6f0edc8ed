#!/usr/bin/env bash
# An install into a scratch DESTDIR holds exactly the game's files; the desktop entry and the
# metainfo pass the freedesktop validators and name the installed program, icon and entry; the
# icons have their sizes; the manual pages format cleanly and document every option of the odds
# program.
set -uo pipefail
build=$1
source "$(dirname "$0")/lib.bash"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
DESTDIR="$work/root" cmake --install "$build" --component tessaline --prefix /usr/local \
  >"$work/log" 2>&1 || fail "cmake --install: $(cat "$work/log")"
root="$work/root/usr/local"
[ -d "$root" ] || fail "nothing was installed under the DESTDIR"

(cd "$root" && find . -type f -o -type l) | sed 's|^\./||' | expect_file_list "install"
for program in tessaline tessaline-odds; do
  [ -x "$root/bin/$program" ] || fail "bin/$program is not executable"
done

desktop="$root/share/applications/$app_id.desktop"
metainfo="$root/share/metainfo/$app_id.metainfo.xml"
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the desktop entry"
appstreamcli validate --no-net "$metainfo" >"$work/log" 2>&1 ||
  fail "appstreamcli rejects the metainfo: $(cat "$work/log")"

# The menu entry must start a program and show an icon that this install provides.
exec_line=$(sed -n 's/^Exec=//p' "$desktop")
[ -x "$root/bin/${exec_line%% *}" ] || fail "Exec=$exec_line names no installed program"
icon=$(sed -n 's/^Icon=//p' "$desktop")
[ -f "$root/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "Icon=$icon is not installed"
grep -q "^Categories=Game;" "$desktop" || fail "the desktop entry is not in the Game category"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
  fail "the metainfo does not launch $app_id.desktop"
grep -q '<release version="6.40"' "$metainfo" || fail "the metainfo has no release 6.40"
grep -q '<screenshot type="default">' "$metainfo" || fail "the metainfo has no screenshot"

for size in 48 128 256; do
  png="$root/share/icons/hicolor/${size}x${size}/apps/tessaline.png"
  actual=$(identify -format '%wx%h %A' "$png") || fail "$png is no image"
  [ "$actual" = "${size}x${size} True" ] ||
    fail "${size}x${size} icon is $actual (want ${size}x${size} with alpha)"
done

for page in tessaline tessaline-odds; do
  file="$root/share/man/man6/$page.6.gz"
  warnings=$(MANWIDTH=80 man --warnings -l "$file" 2>&1 >"$work/$page.txt")
  [ -z "$warnings" ] || fail "$page.6 formats with warnings: $warnings"
  grep -q "^NAME" "$work/$page.txt" || fail "$page.6 has no NAME section"
done

# Every option the odds program lists in its help must be in its manual page.
help=$("$root/bin/tessaline-odds" --help 2>&1)
for option in $(grep -oE -- '--[a-z][a-z-]*' <<<"$help" | sort -u); do
  grep -qF -- "$option" "$work/tessaline-odds.txt" ||
    fail "tessaline-odds --help lists $option, its manual page does not"
done
echo "installed_files: ok"
