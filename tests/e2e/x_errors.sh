#!/usr/bin/env bash
# The platform's X error handling on a real display: a wake-up message that reaches a dialog
# window already destroyed is let pass instead of ending the game.
set -uo pipefail
bin=$1
source "$(dirname "$0")/lib.bash"

tests="$(dirname "$bin")/platform_tests"
[ -x "$tests" ] || fail "no $tests beside the game"
make_workdir
start_xvfb
out=$("$tests" --gtest_filter='DisplayErrors.*' 2>&1) || fail "$out"
grep -q '\[  PASSED  \] 1 test' <<<"$out" || fail "the display test did not run: $out"
echo "x_errors: ok"
