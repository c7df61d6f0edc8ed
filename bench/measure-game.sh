#!/usr/bin/env bash
# Measures the real game under Xvfb, as a player's desktop would run it:
#   - launch to first frame, against an empty SDL2 window measured the same way in the same run
#     (median of five runs each, taken in turns);
#   - CPU of the idle game over 10 s, then of auto-run at speed 5 over 10 s;
#   - peak resident memory.
# Usage: bench/measure-game.sh [BUILD_DIR]   (make bench runs it)
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build}
bin=$build/tessaline
source "$here/../tests/e2e/lib.bash"

make_workdir
start_xvfb
ticks=$(getconf CLK_TCK)

# A saved game with eight picks on card 1 at speed 5: no greeting, ready for auto-run.
"$keno_tool" save write "$work/start.dat" speed=5 card1=3,11,19,27,35,43,51,59 ||
  fail "the starting save could not be written"

# Ends a measured program and waits until its window is gone.
stop() {
  kill "$1" 2>/dev/null
  while kill -0 "$1" 2>/dev/null; do sleep 0.05; done
}

median() { sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }

# Both windows show the top band's gold at (5, 5) once their first frame is up.
game_ms=() empty_ms=()
for run in 1 2 3 4 5; do
  cp "$work/start.dat" "$work/keno_save.dat"
  out=$("$build/first_frame" "$kWindowTitle" 5 5 a07800 -- "$work/tessaline")
  game_ms+=("$(head -1 <<<"$out")")
  stop "$(tail -1 <<<"$out")"
  out=$("$build/first_frame" "empty" 5 5 a07800 -- "$build/empty_window")
  empty_ms+=("$(head -1 <<<"$out")")
  stop "$(tail -1 <<<"$out")"
done
game=$(printf '%s\n' "${game_ms[@]}" | median)
empty=$(printf '%s\n' "${empty_ms[@]}" | median)
echo "first frame: game ${game} ms, empty SDL2 window ${empty} ms (medians of 5: ${game_ms[*]} / ${empty_ms[*]})"
awk -v g="$game" -v e="$empty" 'BEGIN {printf "first frame: the game takes %.0f %% of the empty window\n", 100 * g / e}'

cp "$work/start.dat" "$work/keno_save.dat"
start_game
main=$(wait_window "$kWindowTitle" 30) || exit 1
sleep 2
cpu() { awk '{print $14 + $15}' "/proc/$game_pid/stat"; }
percent() { awk -v d=$(($2 - $1)) -v t="$ticks" -v s="$3" 'BEGIN {printf "%.1f", 100 * d / t / s}'; }
before=$(cpu); sleep 10; after=$(cpu)
echo "idle CPU over 10 s: $(percent "$before" "$after" 10) % of one core"

press_hold() {
  xdotool windowfocus --sync "$main" 2>/dev/null || xdotool windowfocus "$main"
  xdotool keydown space; sleep 1.3; xdotool keyup space
}
press_hold
sleep 1
before=$(cpu); sleep 10; after=$(cpu)
echo "auto-run at speed 5, CPU over 10 s: $(percent "$before" "$after" 10) % of one core"
echo "peak resident memory: $(awk '/^VmHWM/ {printf "%.1f MB", $2 / 1024}' "/proc/$game_pid/status")"
kill "$game_pid" 2>/dev/null
