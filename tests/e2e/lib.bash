# Shared by the end-to-end scripts: a private Xvfb, window lookup, the board's geometry, the save
# file's fields, and cleanup. Sourcing scripts set `bin` (the game binary) first.

fail() { echo "FAIL: $*" >&2; exit 1; }

# Built beside the game from its own code: the window title, the board's rectangles and the save
# format, so no script keeps a copy of them.
keno_tool="$(dirname "$bin")/keno-tool"
[ -x "$keno_tool" ] || fail "no $keno_tool beside the game (it is built with the tests)"
kWindowTitle=$("$keno_tool" title) || fail "$keno_tool gives no window title"

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
  # The game also looks for its save in the per-user data folder: the test's own, never the real.
  export XDG_DATA_HOME="$work/data"
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

# Runs "$@" every 0.2 s until it succeeds; fails with "$2 within $1 s" once $1 seconds have passed.
wait_for() {
  local limit=$1 what=$2
  shift 2
  local deadline=$((SECONDS + limit))
  until "$@"; do
    [ $SECONDS -lt $deadline ] || fail "$what within ${limit}s"
    sleep 0.2
  done
}

# Succeeds while window $1 is mapped on the screen; a box that closes is unmapped or destroyed.
shown() { xwininfo -id "$1" 2>/dev/null | grep -q 'IsViewable'; }
gone() { ! shown "$1"; }

# Types the keys that follow into box $1 once it shows, and waits for it to close.
answer_box() {
  local box=$1
  shift
  wait_for 10 "the box $box did not show" shown "$box"
  xdotool key --window "$box" "$@"
  wait_for 10 "the box $box did not close on $*" gone "$box"
}

# Starts the game's copy in the background, with any extra environment given as NAME=VALUE.
start_game() {
  env "$@" "$work/tessaline" &
  game_pid=$!
}

# Answers the first-start greeting, sets $main, W and H, and waits for the Card 1 tab that the
# answer selects: it turns gold only once the frame loop runs, so the game then reads the mouse.
pass_welcome() {
  local welcome
  welcome=$(wait_window "Welcome to Keno!" 30) || exit 1
  answer_box "$welcome" Return
  main=$(wait_window "$kWindowTitle") || exit 1
  read_client_size
  wait_until 15 "the Card 1 tab is not selected after the greeting" px_is $(tab_face 1) "$kGold"
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

# The game reads the mouse and the keys once a frame, and sees a press or a release only when it
# lasts from one frame's reading to the next: a release followed at once by the next press is no
# release at all. Every press and every release lasts this long: a quiet game sleeps until an
# event wakes it, then reads the mouse and keys a frame apart while a button is held.
kSteadySeconds=0.25

# Waits up to $2 seconds (default 10) until the file $1 exists.
wait_file() { wait_for "${2:-10}" "no $1" test -e "$1"; }

# Field $2 of the save file $1 as the game loads it, by the game record's name (balance, genWon,
# genBet, casWon, casBet, betPerCard, payMode, progressivePot, speed, soundOn), or card1 to card4
# for a card's picks, as "3,11,19". Fails on a file the game would not accept.
save_field() {
  local dump
  dump=$("$keno_tool" save dump "$1") || fail "$1 is not a save the game accepts"
  sed -n "s/^$2=//p" <<<"$dump"
}

# Fails unless field $2 of the save file $1 is $3; $4, if given, says what that value means.
expect_saved() {
  local value
  value=$(save_field "$1" "$2")
  [ "$value" = "$3" ] || fail "$2 is $value in the save, expected $3${4:+ ($4)}"
}

# How many picks the save file $1 holds on the cards $2... (all four when none is named).
save_pick_count() {
  local file=$1 card n=0 picks
  shift
  [ $# -gt 0 ] || set -- 1 2 3 4
  for card in "$@"; do
    picks=$(save_field "$file" "card$card")
    [ -n "$picks" ] && n=$((n + $(tr ',' '\n' <<<"$picks" | wc -l)))
  done
  echo "$n"
}

# Succeeds when card $2 of the save file $1 holds number $3.
save_holds() { [[ ",$(save_field "$1" "card$2")," == *",$3,"* ]]; }

# Taps key $1 in window $main as a player would: focused, held and then left up for two frames.
press_key() { hold_key "$1" "$kSteadySeconds"; }

# Taps each key named, in order, as press_key does.
press_keys() {
  local key
  for key in "$@"; do press_key "$key"; done
}

# Field $2 of the recall file $1 as the game loads it (draws, draw1.numbers, draw1.cards,
# draw1.card2.picks, ...; draw1 the newest). Fails on a file the game would not accept.
recall_field() {
  local dump
  dump=$("$keno_tool" recall dump "$1") || fail "$1 is not a recall the game accepts"
  sed -n "s/^$2=//p" <<<"$dump"
}

# How many draws the recall file $1 holds; 0 while there is none.
recall_count() {
  [ -e "$1" ] || { echo 0; return 0; }
  recall_field "$1" draws
}
recall_holds() { [ "$(recall_count "$1")" -eq "$2" ]; }

# Succeeds when the latest snap shows the keyboard's focus ring on cell $1: its white edge on the
# cell's left border.
focus_ring_on() {
  local x y w h
  read -r x y w h <<<"$(cell_rect "$1")"
  px_is $((x + 1)) $((y + h / 2)) 255,255,255 && px_is $((x + w - 2)) $((y + h / 2)) 255,255,255
}

# The recall overlay's border and the card blocks' stripe.
kRecallBorder=90,200,220
kRecallCardStripe=20,36,52

# Succeeds when the latest snap shows the recall overlay over the grid.
recall_shown() {
  local x y w h
  read -r x y w h <<<"$(grid_rect)"
  px_is $((x + 1)) $((y + h / 2)) "$kRecallBorder" && px_is $((x + w - 2)) $((y + h / 2)) "$kRecallBorder"
}

# --- Play-through helpers: screenshots, pixels and the board's geometry ---
# Pixels are read from a screenshot of window $main; points are client coordinates for the client
# size W x H that read_client_size sets.

# Sets W and H to the client size of window $main, and the board's layout for that size.
read_client_size() {
  local size
  size=$(window_size "$main")
  W=${size%x*}
  H=${size#*x}
  layout=$("$keno_tool" layout "$W" "$H") || fail "no layout for $W x $H"
}

# Rectangle $1 of the board at the client size W x H, as "x y w h": drawButton .. aboutButton,
# tabStrip, grid, statsPanel, ballsPanel, tab0 .. tab4, cell1 .. cell80 (a number's face inside
# its border), speedSegment1 .., betSegment1 .. and ballSlot1 .. ballSlot20 (the ring's box).
rect() {
  local r
  r=$(awk -v name="$1" '$1 == name {print $2, $3, $4, $5}' <<<"$layout")
  [ -n "$r" ] || fail "the layout has no rectangle $1"
  echo "$r"
}

# The middle of rectangle $1, as "x y".
rect_centre() {
  local x y w h
  read -r x y w h <<<"$(rect "$1")"
  echo "$((x + w / 2)) $((y + h / 2))"
}

# Takes a screenshot of window $main into $work/shot.ppm (uncompressed, so quick to write and
# read) and sets shot_width and shot_height; fails when the window cannot be read.
snap() {
  local magic
  timeout 20 import -window "$main" -depth 8 "ppm:$work/shot.ppm" 2>/dev/null || return 1
  # The header: "P6", the width and height, the largest sample value, one to a line.
  { read -r magic && read -r shot_width shot_height && read -r _; } <"$work/shot.ppm"
  [ "$magic" = P6 ] || fail "the screenshot is not a binary PPM"
  shot_header=$(head -n 3 "$work/shot.ppm" | wc -c)
}

# The colour of pixel ($1, $2) of the latest snap, as "R,G,B".
px() {
  od -An -tu1 -j $((shot_header + ($2 * shot_width + $1) * 3)) -N3 "$work/shot.ppm" |
    awk '{print $1 "," $2 "," $3}'
}

# Succeeds when pixel ($1, $2) of the latest snap is within $4 (default 12) of colour $3 in every
# channel.
px_is() {
  local have
  have=$(px "$1" "$2")
  awk -v a="$have" -v b="$3" -v t="${4:-12}" 'BEGIN {
    split(a, x, ","); split(b, y, ",")
    for (i = 1; i <= 3; i++) if ((x[i] - y[i])^2 > t * t) exit 1 }'
}

# How many pixels of the $3 x $4 box at ($1, $2) of the latest snap lie within $5 of one of the
# colours that follow ("R,G,B" each) in every channel.
count_color() {
  local x=$1 y=$2 w=$3 h=$4 tol=$5
  shift 5
  convert "$work/shot.ppm" -crop "${w}x${h}+${x}+${y}" +repage -depth 8 rgb:- | od -An -v -tu1 |
    awk -v colours="$*" -v t="$tol" '
      BEGIN {
        n = split(colours, list, " ")
        for (c = 1; c <= n; c++) {
          split(list[c], rgb, ",")
          for (i = 1; i <= 3; i++) want[c, i] = rgb[i]
        }
      }
      { for (i = 1; i <= NF; i++) { v[k % 3] = $i; if (++k % 3 == 0) hits += near() } }
      function near(   c) {
        for (c = 1; c <= n; c++)
          if ((v[0] - want[c, 1])^2 <= t*t && (v[1] - want[c, 2])^2 <= t*t &&
              (v[2] - want[c, 3])^2 <= t*t) return 1
        return 0
      }
      END { print hits + 0 }'
}

# For each row of the $3 x $4 box at ($1, $2) of the latest snap, how many of its pixels differ
# from the background colour $5 by more than $6 (default 60) in some channel; one count a line.
row_ink() {
  convert "$work/shot.ppm" -crop "$3x$4+$1+$2" +repage -depth 8 rgb:- | od -An -v -tu1 |
    awk -v w="$3" -v h="$4" -v c="$5" -v t="${6:-60}" '
      BEGIN { split(c, bg, ",") }
      { for (i = 1; i <= NF; i++) {
          v[k % 3] = $i
          if (++k % 3 == 0)
            ink[int((k / 3 - 1) / w)] += (v[0] - bg[1])^2 > t*t || (v[1] - bg[2])^2 > t*t ||
                                        (v[2] - bg[3])^2 > t*t
        } }
      END { for (r = 0; r < h; r++) print ink[r] + 0 }'
}

# The ink of the $3 x $4 box at ($1, $2) of the latest snap, the pixels that differ from the
# background colour $5 by more than $6 (default 60) in some channel, as "count width height" of
# their bounding box ("0 0 0" when there is none).
ink_box() {
  convert "$work/shot.ppm" -crop "$3x$4+$1+$2" +repage -depth 8 rgb:- | od -An -v -tu1 |
    awk -v w="$3" -v c="$5" -v t="${6:-60}" '
      BEGIN { split(c, bg, ","); x0 = y0 = 1e9; x1 = y1 = -1 }
      { for (i = 1; i <= NF; i++) {
          v[k % 3] = $i
          if (++k % 3) continue
          if ((v[0] - bg[1])^2 <= t*t && (v[1] - bg[2])^2 <= t*t && (v[2] - bg[3])^2 <= t*t)
            continue
          p = k / 3 - 1; x = p % w; y = int(p / w); n++
          if (x < x0) x0 = x; if (x > x1) x1 = x; if (y < y0) y0 = y; if (y > y1) y1 = y
        } }
      END { if (n) print n, x1 - x0 + 1, y1 - y0 + 1; else print "0 0 0" }'
}

# A digest of the pixels of the $3 x $4 box at ($1, $2) of the latest snap, equal for equal
# pictures.
box_digest() {
  convert "$work/shot.ppm" -crop "$3x$4+$1+$2" +repage -depth 8 rgb:- | md5sum | cut -c1-32
}

# The line of the Runs value in the stats panel of the latest snap, as "x y w h": the bottom-most
# line of text in the value column above the BALANCE band, the panel's third title band.
runs_value_box() {
  local band rows top height sx sy sw sh
  read -r sx sy sw sh <<<"$(rect statsPanel)"
  band=$(row_ink $((sx + 2)) "$sy" 1 "$sh" 150,150,160 5 |
    awk '{ b = ($1 == 0) } b && !prev { if (++n == 3) { print NR - 1; exit } } { prev = b }')
  [ -n "$band" ] || fail "no BALANCE band in the stats panel"
  # The rows of that line, counted from 40 rows above the band.
  rows=$(row_ink 92 $((sy + band - 40)) 120 40 192,192,192 |
    awk '{ ink[NR] = $1 } END {
      for (r = NR; r > 0 && ink[r] == 0; r--) {}
      last = r
      for (; r > 0 && ink[r] > 0; r--) {}
      print r, last - r }')
  read -r top height <<<"$rows"
  [ "$height" -gt 0 ] || fail "no Runs value in the stats panel"
  echo "92 $((sy + band - 40 + top)) 120 $height"
}

# Snaps until the command "$@" succeeds on the latest snap; fails with "$2 within $1 s" once $1
# seconds have passed.
wait_until() {
  local limit=$1 what=$2
  shift 2
  wait_for "$limit" "$what" snapped "$@"
}
snapped() { snap && "$@"; }

# Clicks mouse button $3 (default 1) at client point ($1, $2) of window $main: pressed for two
# frames, far short of the 1-second hold, then left up for two frames before the next input.
click_held() {
  local x y
  eval "$(xdotool getwindowgeometry --shell "$main")"
  x=$((X + $1))
  y=$((Y + $2))
  xdotool mousemove "$x" "$y" mousedown "${3:-1}"
  sleep "$kSteadySeconds"
  xdotool mouseup "${3:-1}"
  sleep "$kSteadySeconds"
}

# Holds key $1 down in window $main for $2 seconds, then leaves it up for two frames.
hold_key() {
  xdotool windowfocus --sync "$main" 2>/dev/null || xdotool windowfocus "$main"
  xdotool keydown "$1"
  sleep "$2"
  xdotool keyup "$1"
  sleep "$kSteadySeconds"
}

# The grid rectangle for client size W x H, as "x y w h".
grid_rect() { rect grid; }

# Cell $1 (1..80) for client size W x H, as "x y w h": its origin and the whole part of its pitch.
cell_rect() { rect "cell$1"; }

# The centre of cell $1, as "x y".
cell_centre() { rect_centre "cell$1"; }

# A point on the face of cell $1, as "x y": halfway across and 7 pixels down, clear of the bevel,
# the numeral and the hit cross.
cell_face() {
  local x y w h
  read -r x y w h <<<"$(cell_rect "$1")"
  echo "$((x + w / 2)) $((y + 7))"
}

# A point on the face of tab $1 (0 Main, 1..4 Card n), as "x y": left of its label.
tab_face() {
  local x y w h
  read -r x y w h <<<"$(rect "tab$1")"
  echo "$((x + 8)) $((y + 30))"
}

# The centre of top-row button $1 (drawButton, newGameButton, ... aboutButton), as "x y".
button_centre() { rect_centre "$1"; }

# Face colours of the board: cells idle, picked, hit and drawn (the balls' colours too), and the
# active tab.
kCellIdle=0,90,200
kCellPicked=140,20,160
kCellHit=40,180,60
kCellDrawn=210,10,10
kGold=255,215,0
# The top band behind the buttons.
kTopBand=160,120,0
# The Draw Numbers face, read at (20, 20): idle, while a draw runs, and in auto-run.
kDrawIdle=40,80,190
kDrawDrawing=70,70,90
kDrawAutoRun=180,35,35
# A lit segment of the Speed bar; the others are dark.
kSpeedLit=80,200,100
# The heat map's marker dot on the Main tab.
kHeatMarker=255,120,0

# Picks number $1 on the card shown and waits for its cell to turn purple.
pick() {
  click_held $(cell_centre "$1")
  wait_until 10 "number $1 was not picked" px_is $(cell_face "$1") "$kCellPicked"
}

# How many segments of the Speed bar are lit in the latest snap: the speed shown.
speed_shown() {
  local name n=0
  for name in $(awk '$1 ~ /^speedSegment/ {print $1}' <<<"$layout"); do
    px_is $(rect_centre "$name") "$kSpeedLit" && n=$((n + 1))
  done
  echo "$n"
}

# Raises the speed to $1 one click on the right half of Speed at a time, each click waited for on
# the bar before the next: two quick clicks would be one long press.
raise_speed() {
  local x y w h speed
  read -r x y w h <<<"$(rect speedButton)"
  wait_until 10 "the Speed bar is not drawn" speed_is_known
  speed=$(speed_shown)
  while [ "$speed" -lt "$1" ]; do
    speed=$((speed + 1))
    click_held $((x + w * 3 / 4)) $((y + h / 2))
    wait_until 10 "the Speed bar does not show speed $speed" speed_is "$speed"
  done
}
speed_is() { [ "$(speed_shown)" -eq "$1" ]; }
speed_is_known() { [ "$(speed_shown)" -gt 0 ]; }

# Succeeds when the latest snap shows the heat map's marker on the Main tab.
heat_map_shown() {
  local x y w h
  read -r x y w h <<<"$(rect tab0)"
  [ "$(count_color "$x" $((y + 2)) "$w" $((h - 4)) 40 "$kHeatMarker")" -ge 10 ]
}

# Succeeds while a welcome box exists.
greeted() { xwininfo -root -tree | grep -qF '"Welcome to Keno!"'; }

# A start that must greet nobody: once the board is drawn, a right click on the Main grid must
# bring up the heat map, which only the Main tab answers and a modal greeting would hold back.
# Fails with $1 if a welcome box came up instead. Needs $main, W and H.
expect_no_greeting() {
  wait_until 20 "the board was not drawn" px_is $(tab_face 0) "$kGold"
  click_held $(cell_centre 33) 3
  wait_until 10 "a right click on the Main grid was not answered" heat_map_or_greeting
  greeted && fail "$1"
  return 0
}
heat_map_or_greeting() { greeted || heat_map_shown; }

# What the 20 slots of the balls panel hold in the latest snap, slot 1 first, one letter each:
# G for a green ball (on a card), R for a red one (on no card), - for an empty ring. A slot holds
# a ball when a third of the disc inside its ring is a ball's colour (the numeral and the glint
# take much of the rest).
balls_in_slots() {
  local px py pw ph
  read -r px py pw ph <<<"$(rect ballsPanel)"
  convert "$work/shot.ppm" -crop "${pw}x${ph}+${px}+${py}" +repage -depth 8 rgb:- |
    od -An -v -tu1 | awk -v w="$pw" -v px="$px" -v py="$py" -v on="$kCellHit" -v off="$kCellDrawn" \
      -v slots="$(awk '$1 ~ /^ballSlot/ {print $2, $3, $4}' <<<"$layout")" '
      BEGIN {
        split(on, on3, ","); split(off, off3, ",")
        # The ring box of each slot, "x y side" a line, in panel coordinates.
        count = split(slots, line, "\n")
        for (k = 1; k <= count; k++) {
          split(line[k], b, " ")
          r = (b[3] - 1) / 2
          cx[k] = b[1] - px + r; cy[k] = b[2] - py + r
        }
        half = r - 2  # inside the ring and its outline
      }
      { for (i = 1; i <= NF; i++) {
          v[n % 3] = $i
          if (++n % 3) continue
          p = n / 3 - 1; x = p % w; y = int(p / w)
          for (k = 1; k <= count; k++) {
            if ((x - cx[k])^2 + (y - cy[k])^2 > half * half) continue
            area[k]++
            if ((v[0] - on3[1])^2 + (v[1] - on3[2])^2 + (v[2] - on3[3])^2 < 900) green[k]++
            if ((v[0] - off3[1])^2 + (v[1] - off3[2])^2 + (v[2] - off3[3])^2 < 900) red[k]++
          }
        } }
      END {
        for (k = 1; k <= count; k++)
          printf "%s", (green[k] * 3 > area[k] ? "G" : (red[k] * 3 > area[k] ? "R" : "-"))
        print ""
      }'
}

# Fails unless the save $1 conserves money: balance + genBet + casBet - genWon - casWon = 1000.
check_money_conserved() {
  local dump balance genWon genBet casWon casBet
  dump=$("$keno_tool" save dump "$1") || fail "$1 is not a save the game accepts"
  eval "$(grep -E '^(balance|genWon|genBet|casWon|casBet)=' <<<"$dump")"
  [ $((balance + genBet + casBet - genWon - casWon)) -eq 1000 ] ||
    fail "money not conserved: balance $balance, GEN won $genWon and bet $genBet," \
      "CAS won $casWon and bet $casBet"
}

# A first start on a fresh Xvfb: the greeting answered, the window's size read and the Card 1
# tab showing. Sets $main.
first_start() {
  make_workdir
  start_xvfb
  start_game
  pass_welcome
}

# A first start that picks Card 1 at random (right click on Auto-Pick), raises the speed to 5
# and holds SPACE until auto-run draws; returns once two draws have ended on screen (the Runs
# value in the stats panel changed twice). Sets $main.
auto_run_two_draws() {
  first_start
  local gx gy gw gh
  read -r gx gy gw gh <<<"$(grid_rect)"
  click_held $(button_centre autoPickButton) 3
  card_has_picks() { [ "$(count_color "$gx" "$gy" "$gw" "$gh" 8 "$kCellPicked")" -gt 1000 ]; }
  wait_until 10 "a right click on Auto-Pick made no picks" card_has_picks
  raise_speed 5
  hold_key space 1.5
  wait_until 10 "holding SPACE did not start auto-run" px_is 20 20 "$kDrawAutoRun"
  runs_box=$(runs_value_box) || exit 1
  runs0=$(box_digest $runs_box)
  runs_moved() { runs1=$(box_digest $runs_box) && [ "$runs1" != "$runs0" ]; }
  wait_until 60 "the first auto-run draw did not end" runs_moved
  runs_moved_again() {
    runs2=$(box_digest $runs_box) && [ "$runs2" != "$runs0" ] && [ "$runs2" != "$runs1" ]
  }
  wait_until 60 "no second draw followed the first" runs_moved_again
  px_is 20 20 "$kDrawAutoRun" || fail "auto-run ended by itself"
}
