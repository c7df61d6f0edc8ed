# Shared by the end-to-end scripts: a private Xvfb, window lookup, and cleanup.
# Sourcing scripts set `bin` (the game binary) first.

fail() { echo "FAIL: $*" >&2; exit 1; }

# Test machines have no sound card: the game plays to SDL's silent driver unless a test asks for
# another (the warning shown when there is no device has a test of its own).
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER_FOR_E2E:-dummy}

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

# Presses and releases a mouse button ($3, default 1) at client point ($1, $2) of window $main.
# Held for a tenth of a second: the game polls the buttons once a frame.
click_at() {
  local x y
  eval "$(xdotool getwindowgeometry --shell "$main")"
  x=$((X + $1))
  y=$((Y + $2))
  xdotool mousemove "$x" "$y" mousedown "${3:-1}"
  sleep 0.1
  xdotool mouseup "${3:-1}"
  sleep 0.1
}

# Waits up to $2 seconds (default 10) until the file $1 exists.
wait_file() {
  local deadline=$((SECONDS + ${2:-10}))
  while [ ! -e "$1" ]; do
    [ $SECONDS -lt $deadline ] || fail "no $1 within ${2:-10}s"
    sleep 0.1
  done
}

# Byte $2 (0-based) of file $1, as a decimal number.
byte_at() { od -An -tu1 -j "$2" -N1 "$1" | tr -d ' '; }

# The little-endian signed 32-bit number at offset $2 of file $1.
int_at() { od -An -td4 -j "$2" -N4 "$1" | tr -d ' '; }

# Presses and releases key $1 in window $main as a player would: focused, held for a tenth of a
# second, since the game reads the keys once a frame.
press_key() {
  xdotool windowfocus --sync "$main" 2>/dev/null || xdotool windowfocus "$main"
  xdotool keydown "$1"
  sleep 0.1
  xdotool keyup "$1"
  sleep 0.1
}
