# Shared by the end-to-end scripts: a private Xvfb, window lookup, and cleanup.
# Sourcing scripts set `bin` (the game binary) first.

fail() { echo "FAIL: $*" >&2; exit 1; }

cleanup() {
  [ -n "${game_pid:-}" ] && kill "$game_pid" 2>/dev/null
  # Wait for the server to go, so the next one never finds its socket removed under it.
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  [ -n "${work:-}" ] && rm -rf "$work"
  return 0
}
trap cleanup EXIT

# A fresh directory holding a copy of the game, so its save file is the test's own.
make_workdir() {
  work=$(mktemp -d)
  cp "$bin" "$work/tessaline"
}

# Starts Xvfb on a free display number and exports DISPLAY; extra arguments go to Xvfb.
start_xvfb() {
  local fifo="$work/displayfd"
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1920x1200x24 -nolisten tcp "$@" 3>"$fifo" >/dev/null 2>&1 &
  xvfb_pid=$!
  local number
  read -r -t 10 number <"$fifo" || fail "Xvfb did not start"
  export DISPLAY=":$number"
}

# Prints the id of the first window whose name is exactly $1, waiting up to $2 seconds.
wait_window() {
  local name=$1 limit=${2:-10} id
  local deadline=$((SECONDS + limit))
  while [ $SECONDS -lt $deadline ]; do
    id=$(xwininfo -root -tree 2>/dev/null | grep -F "\"${name}\": (" | awk 'NR == 1 {print $1}')
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  fail "no window named '$name' within ${limit}s"
}

# Client-area size of a window as WxH.
window_size() {
  xwininfo -id "$1" | awk '/^ *Width:/ {w=$2} /^ *Height:/ {h=$2} END {print w "x" h}'
}

# Starts the game's copy in the background, with any extra environment given as NAME=VALUE.
start_game() {
  env "$@" "$work/tessaline" &
  game_pid=$!
}

# Answers the first-start greeting and prints the id of the game window.
pass_welcome() {
  local welcome
  welcome=$(wait_window "Welcome to Keno!" 30) || exit 1
  xdotool key --window "$welcome" Return
  wait_window "Tessaline by Brindlec 6.40"
}

# Waits up to $1 seconds for the game to end, and fails unless it ended with code 0.
expect_clean_exit() {
  local limit=$1 code
  local deadline=$(( $(date +%s%N) + limit * 1000000000 ))
  while kill -0 "$game_pid" 2>/dev/null; do
    [ "$(date +%s%N)" -lt "$deadline" ] || fail "the game still runs after ${limit}s"
    sleep 0.05
  done
  wait "$game_pid"
  code=$?
  game_pid=
  [ "$code" -eq 0 ] || fail "exit code $code"
}
