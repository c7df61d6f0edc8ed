#!/usr/bin/env bash
# An install into a scratch DESTDIR holds exactly the game's files, its programs in games/; the
# desktop entry and the metainfo pass the freedesktop validators and name the installed program,
# icon and entry; the icons have their sizes; the metainfo's screenshots are the picture tool's
# renderings at their sizes; the manual pages format cleanly and document every option of the
# odds program.
set -uo pipefail
build=$1
source "$(dirname "$0")/lib.bash"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
DESTDIR="$work/root" cmake --install "$build" --component tessaline --prefix /usr/local \
  >"$work/log" 2>&1 || fail "cmake --install: $(cat "$work/log")"
root="$work/root/usr/local"
[ -d "$root" ] || fail "nothing was installed under the DESTDIR"

expect_file_list "install" < <(cd "$root" && find . -type f -o -type l | sed 's|^\./||')
check_desktop_files "$root" "$work/log"

for size in 48 128 256; do
  png="$root/share/icons/hicolor/${size}x${size}/apps/$app_id.png"
  actual=$(identify -format '%wx%h %A' "$png") || fail "$png is no image"
  [ "$actual" = "${size}x${size} True" ] ||
    fail "${size}x${size} icon is $actual (want ${size}x${size} with alpha)"
done

# A screenshot is published under the name the picture tool gives it, at its size.
pictures=$build/board_pictures
[ -x "$pictures" ] || fail "$pictures is not built (libpng-dev missing?)"
metainfo="$root/share/metainfo/$app_id.metainfo.xml"
shots=$(sed -n 's|.*<image type="source" width="\([0-9]*\)" height="\([0-9]*\)">\(.*\)</image>.*|\1 \2 \3|p' \
  "$metainfo")
[ -n "$shots" ] || fail "the metainfo has no screenshot"
grep -q '<screenshot type="default">' "$metainfo" || fail "the metainfo has no default screenshot"
while read -r width height url; do
  name=$(basename "$url")
  [[ $name =~ ^(.+)-${width}x${height}\.png$ ]] || fail "$name is not named after its size"
  "$pictures" "$work/pictures" "${BASH_REMATCH[1]}" >/dev/null 2>"$work/log" ||
    fail "board_pictures ${BASH_REMATCH[1]}: $(cat "$work/log")"
  [ -f "$work/pictures/$name" ] || fail "the picture tool renders no $name"
  actual=$(identify -format '%wx%h' "$work/pictures/$name")
  [ "$actual" = "${width}x$height" ] || fail "$name is $actual, the metainfo says ${width}x$height"
done <<<"$shots"

for page in tessaline tessaline-odds; do
  file="$root/share/man/man6/$page.6.gz"
  warnings=$(MANWIDTH=80 man --warnings -l "$file" 2>&1 >"$work/$page.txt")
  [ -z "$warnings" ] || fail "$page.6 formats with warnings: $warnings"
  grep -q "^NAME" "$work/$page.txt" || fail "$page.6 has no NAME section"
done

# Every option the odds program lists in its help must be in its manual page.
help=$("$root/games/tessaline-odds" --help 2>&1)
for option in $(grep -oE -- '--[a-z][a-z-]*' <<<"$help" | sort -u); do
  grep -qF -- "$option" "$work/tessaline-odds.txt" ||
    fail "tessaline-odds --help lists $option, its manual page does not"
done
echo "installed_files: ok"
