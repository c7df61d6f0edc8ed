#!/usr/bin/env bash
# Measures the real game under Xvfb: the time from launch until the welcome box shows (the
# first frame is presented just before it), and the CPU the idle game uses over 10 seconds.
# Usage: bench/idle-and-startup.sh [path/to/tessaline]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bin=${1:-$here/../build/tessaline}
source "$here/../tests/e2e/lib.bash"

make_workdir
start_xvfb
ticks=$(getconf CLK_TCK)

start=$(date +%s%N)
start_game
welcome=$(wait_window "Welcome to Keno!" 30) || exit 1
shown=$(date +%s%N)
echo "launch to first frame: <= $(( (shown - start) / 1000000 )) ms (welcome box visible)"

xdotool key --window "$welcome" Return
sleep 1
cpu() { awk '{print $14 + $15}' "/proc/$game_pid/stat"; }
before=$(cpu)
sleep 10
after=$(cpu)
echo "idle CPU over 10 s: $(awk -v d=$((after - before)) -v t="$ticks" 'BEGIN {printf "%.1f", 100 * d / t / 10}') % of one core"
