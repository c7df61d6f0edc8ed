#!/usr/bin/env bash
# Measures the real game under Xvfb, as a player's desktop would run it:
#   - launch to first frame, against an empty SDL2 window measured the same way in the same run
#     (median of five runs each, taken in turns); --only-cpu skips it;
#   - CPU of the idle game over 10 s, of a resize loop (200 resizes 50 ms apart, a corner dragged
#     out and back), and of auto-run at speed 5 over 10 s, at the opening size;
#   - idle and auto-run again at every size given with --size WxH (the screen grows to hold it);
#   - peak resident memory.
# CPU is the game process's own (utime + stime of every thread, from /proc), in % of one core.
# Usage: bench/measure-game.sh [--only-cpu] [--size WxH]... [BUILD_DIR]   (make bench runs it)
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
only_cpu=0
sizes=()
build=$here/../build
while [ $# -gt 0 ]; do
  case $1 in
    --only-cpu) only_cpu=1 ;;
    --size)
      [[ ${2:-} =~ ^[0-9]+x[0-9]+$ ]] || { echo "--size wants WxH, e.g. 2560x1440" >&2; exit 2; }
      sizes+=("$2")
      shift
      ;;
    -h | --help)
      sed -n '2,10p' "$0" | sed 's/^# \{0,1\}//'
      exit 0
      ;;
    *) build=$1 ;;
  esac
  shift
done
bin=$build/tessaline
source "$here/../tests/e2e/lib.bash"

# The screen holds the largest window asked for, with room for the resize loop's sweep.
screen_w=1920 screen_h=1200
for s in "${sizes[@]}"; do
  w=${s%x*} h=${s#*x}
  [ "$w" -gt "$screen_w" ] && screen_w=$w
  [ "$h" -gt "$screen_h" ] && screen_h=$h
done
make_workdir
start_xvfb -screen 0 "${screen_w}x${screen_h}x24"
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

rows=()  # "what|size|figure" for the table at the end
row() { rows+=("$1|$2|$3"); }

if [ "$only_cpu" -eq 0 ]; then
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
  row "first frame, game" "opening" "$game ms (runs: ${game_ms[*]})"
  row "first frame, empty SDL2 window" "opening" "$empty ms (runs: ${empty_ms[*]})"
  row "first frame, game / empty" "opening" \
    "$(awk -v g="$game" -v e="$empty" 'BEGIN {printf "%.0f %%", 100 * g / e}')"
fi

cpu() { awk '{print $14 + $15}' "/proc/$game_pid/stat"; }
# The same in nanoseconds of run time, summed over the threads alive now: finer than the clock
# ticks of utime + stime, which are 10 ms each.
run_ns() { cat /proc/"$game_pid"/task/*/schedstat 2>/dev/null | awk '{s += $1} END {printf "%.0f\n", s}'; }
now_ns() { date +%s%N; }
# % of one core for $1 -> $2 clock ticks over $3 nanoseconds.
percent() {
  awk -v d=$(($2 - $1)) -v t="$ticks" -v ns="$3" 'BEGIN {printf "%.2f %%", 100 * d / t / (ns / 1e9)}'
}
# The game's CPU over the next $1 seconds: ticks, and run time in parentheses.
measure_cpu() {
  local before after r0 r1 t0 t1
  t0=$(now_ns) before=$(cpu) r0=$(run_ns)
  sleep "$1"
  after=$(cpu) r1=$(run_ns) t1=$(now_ns)
  echo "$(percent "$before" "$after" $((t1 - t0))) ($(awk -v d=$((r1 - r0)) -v ns=$((t1 - t0)) \
    'BEGIN {printf "%.3f %%", 100 * d / ns}') by run time)"
}

# A fresh game from the starting save, its window at $1 (WxH; empty: as it opens).
launch() {
  cp "$work/start.dat" "$work/keno_save.dat"
  start_game
  main=$(wait_window "$kWindowTitle" 30) || exit 1
  if [ -n "$1" ]; then
    timeout 20 xdotool windowsize --sync "$main" "${1%x*}" "${1#*x}" ||
      fail "the window could not be resized to $1"
  fi
  sleep 4  # start-up's timers (the first save, the sound output's linger) have run out
}

# SPACE held past the hold time starts auto-run.
start_auto_run() {
  xdotool windowfocus --sync "$main" 2>/dev/null || xdotool windowfocus "$main"
  xdotool keydown space
  sleep 1.3
  xdotool keyup space
  sleep 1
}

# 200 resizes 50 ms apart: a corner dragged 400 x 300 pixels out in 100 steps and back in 100.
resize_loop() {
  local w0 h0 i step before after t0 t1
  read -r w0 h0 <<<"$(window_size "$main" | tr x ' ')"
  t0=$(now_ns) before=$(cpu)
  for ((i = 1; i <= 200; i++)); do
    step=$((i <= 100 ? i : 200 - i))
    xdotool windowsize "$main" $((w0 + 4 * step)) $((h0 + 3 * step))
    sleep 0.05
  done
  sleep 0.5  # the last resize is drawn
  after=$(cpu) t1=$(now_ns)
  echo "$(percent "$before" "$after" $((t1 - t0))) ($(awk -v d=$((after - before)) -v t="$ticks" \
    'BEGIN {printf "%.2f", 1000 * d / t / 200}') ms CPU a resize)"
}

launch ""
opening=$(window_size "$main")
row "idle CPU over 10 s" "$opening" "$(measure_cpu 10)"
row "resize loop, 200 x 50 ms" "$opening" "$(resize_loop)"
sleep 1
row "idle CPU over 10 s, after resizing" "$opening" "$(measure_cpu 10)"
start_auto_run
row "auto-run at speed 5, CPU over 10 s" "$opening" "$(measure_cpu 10)"
row "peak resident memory" "$opening" \
  "$(awk '/^VmHWM/ {printf "%.1f MB", $2 / 1024}' "/proc/$game_pid/status")"
stop "$game_pid"

for s in "${sizes[@]}"; do
  launch "$s"
  got=$(window_size "$main")
  row "idle CPU over 10 s" "$got" "$(measure_cpu 10)"
  start_auto_run
  row "auto-run at speed 5, CPU over 10 s" "$got" "$(measure_cpu 10)"
  row "peak resident memory" "$got" \
    "$(awk '/^VmHWM/ {printf "%.1f MB", $2 / 1024}' "/proc/$game_pid/status")"
  stop "$game_pid"
done
game_pid=

printf '%-38s %-11s %s\n' "measure" "size" "figure (CPU in % of one core)"
for r in "${rows[@]}"; do
  IFS='|' read -r what size figure <<<"$r"
  printf '%-38s %-11s %s\n' "$what" "$size" "$figure"
done
