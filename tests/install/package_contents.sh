#!/usr/bin/env bash
# The Debian package holds exactly the installed game's files under /usr, stripped programs,
# and dependencies read from the shared libraries the programs link to.
set -uo pipefail
build=$1
source "$(dirname "$0")/lib.bash"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" >"$work/log" 2>&1 ||
  fail "cpack: $(cat "$work/log")"
debs=("$work"/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack made no single .deb: ${debs[*]}"
deb=${debs[0]}

dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ {print $6}' | sed -n 's|^\./usr/||p' |
  expect_file_list "package"
[ "$(dpkg-deb --field "$deb" Package)" = tessaline ] || fail "package name"
[ "$(dpkg-deb --field "$deb" Version)" = 6.40 ] || fail "package version"

depends=$(dpkg-deb --field "$deb" Depends)
for library in libc6 libsdl2-2.0-0; do
  grep -qE "(^|, )$library( |,|$)" <<<"$depends" ||
    fail "Depends lacks $library (shared-library dependencies not computed?): $depends"
done

dpkg-deb --extract "$deb" "$work/root"
for program in tessaline tessaline-odds; do
  if readelf --sections "$work/root/usr/bin/$program" | grep -q '\.debug_info'; then
    fail "usr/bin/$program still carries debug information"
  fi
done
echo "package_contents: ok"
