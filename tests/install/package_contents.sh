#!/usr/bin/env bash
# The Debian package (built once per test run into $3) holds exactly the installed game's files
# under /usr, with Debian's copyright and changelog; its programs are stripped and hardened, its
# dependencies read from the libraries they link; one version runs through the changelog, the
# metainfo, the manual pages and the window title, and one licence through the copyright file,
# the metainfo and the README. Unpacked, its menu entry and metainfo validate and agree.
set -uo pipefail
package_dir=$3
source "$(dirname "$0")/lib.bash"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
version=$(dpkg-parsechangelog -l "$source_dir/debian/changelog" -S Version)
debs=("$package_dir"/tessaline_"$version"_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "no single tessaline .deb in $package_dir"
deb=${debs[0]}

field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = tessaline ] || fail "package name $(field Package)"
[ "$(field Version)" = "$version" ] || fail "package version $(field Version), not $version"
[[ $(field Section) =~ (^|/)games$ ]] || fail "section $(field Section) is not games"
depends=$(field Depends)
for library in libc6 libsdl2-2.0-0 libsdl2-ttf-2.0-0 libsdl2-mixer-2.0-0; do
  grep -qE "(^|, )$library( |,|$)" <<<"$depends" ||
    fail "Depends lacks $library (shared-library dependencies not computed?): $depends"
done

# Debian's own files beside the install's: copyright, changelog and lintian's overrides.
expect_file_list "package" "$( (expected_files
  printf '%s\n' share/doc/tessaline/copyright share/doc/tessaline/changelog.gz \
    share/lintian/overrides/tessaline) | sort)" \
  < <(dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ {print $6}' | sed -n 's|^\./usr/||p')

dpkg-deb --extract "$deb" "$work/root"
root="$work/root/usr"
for program in tessaline tessaline-odds; do
  binary="$root/games/$program"
  readelf --sections "$binary" >"$work/sections"
  grep -q '\.debug_info' "$work/sections" && fail "$program carries debug information"
  dynamic=$(readelf --dynamic "$binary")
  grep -q 'Flags: NOW PIE' <<<"$dynamic" || fail "$program is not a PIE bound at load (bindnow)"
  grep -q GNU_RELRO <(readelf --program-headers "$binary") || fail "$program has no RELRO"
  symbols=$(nm --dynamic "$binary")
  grep -q '__stack_chk_fail' <<<"$symbols" || fail "$program has no stack protector"
  grep -qE '__[a-z]+_chk@' <<<"$symbols" || fail "$program uses no fortified function"
done
check_desktop_files "$root" "$work/log"

metainfo="$root/share/metainfo/$app_id.metainfo.xml"
[ "$(grep -m1 -oP '<release version="\K[^"]+' "$metainfo")" = "$version" ] ||
  fail "the metainfo's latest release is not $version"
for page in tessaline tessaline-odds; do
  grep -q "^\.TH .*\"Tessaline $version\"" <(zcat "$root/share/man/man6/$page.6.gz") ||
    fail "$page.6 is not for Tessaline $version"
done
grep -qaF "Tessaline by Brindlec $version" "$root/games/tessaline" ||
  fail "the packaged game's window title is not for $version"
changelog=$(zcat "$root/share/doc/tessaline/changelog.gz")
[[ ${changelog%%$'\n'*} == "tessaline ($version) "* ]] ||
  fail "the installed changelog does not start with $version"

copyright="$root/share/doc/tessaline/copyright"
[ "$(head -1 "$copyright")" = "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ] ||
  fail "the copyright file is not machine-readable"
licence=$(awk '/^Files: \*$/ {f = 1} f && /^License:/ {print $2; exit}' "$copyright")
[ -n "$licence" ] || fail "the copyright file gives no licence for Files: *"
[ "$(metainfo_list "$metainfo" project_license)" = "$licence" ] ||
  fail "the metainfo's project licence is not the copyright file's $licence"
awk -v l="License: $licence" 'prev == l && /^ / {found = 1} {prev = $0} END {exit !found}' \
  "$copyright" || fail "the copyright file does not state the text of $licence"
grep -qF "($licence)" "$source_dir/README.md" || fail "the README does not name $licence"
echo "package_contents: ok"
