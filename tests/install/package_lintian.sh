#!/usr/bin/env bash
# lintian finds nothing in the source and binary packages built once per test run into $3: no
# error, no warning, and no pedantic, informational or experimental tag either, overrides aside.
set -uo pipefail
package_dir=$3
source "$(dirname "$0")/lib.bash"

changes=("$package_dir"/tessaline_*.changes)
[ ${#changes[@]} -eq 1 ] && [ -f "${changes[0]}" ] || fail "no single .changes in $package_dir"
grep -q '\.dsc$' "${changes[0]}" || fail "${changes[0]} lists no source package to check"
tags=$(lintian --pedantic --display-info --display-experimental --fail-on none "${changes[0]}" \
  2>/dev/null) || fail "lintian could not check ${changes[0]}"
tags=$(grep -E '^[EWIPX]: ' <<<"$tags")
[ -z "$tags" ] || fail "lintian tags:"$'\n'"$tags"
echo "package_lintian: ok"
