# Shared by the bad-environment scripts, after lib.bash: pixels of window $main, the board's cell
# geometry for its client size, and the money figures of a save file.

kTopBand=160,120,0
kMarginGrey=172,176,185
kBallsPanel=150,150,160
kPicked=140,20,160

# The colour of client pixel ($1, $2) of window $main as "R,G,B"; empty when it cannot be read.
pixel() {
  import -window "$main" -crop "1x1+$1+$2" +repage -depth 8 rgb:- 2>/dev/null |
    od -An -tu1 | awk 'NF >= 3 {print $1 "," $2 "," $3}'
}

# Waits up to $4 seconds (default 15) until client pixel ($1, $2) of window $main is within 12 of
# colour $3 in every channel, and fails with what it saw after that.
wait_pixel() {
  local deadline=$((SECONDS + ${4:-15})) have
  while :; do
    have=$(pixel "$1" "$2")
    awk -v a="$have" -v b="$3" 'BEGIN {
      if (split(a, x, ",") < 3) exit 1
      split(b, y, ",")
      for (i = 1; i <= 3; i++) if ((x[i] - y[i])^2 > 144) exit 1 }' && return 0
    [ $SECONDS -lt $deadline ] || fail "pixel ($1, $2) is '$have', not $3, after ${4:-15}s"
    sleep 0.2
  done
}

# Sets W and H to the client size of window $main.
client_size() {
  local size
  size=$(window_size "$main")
  W=${size%x*}
  H=${size#*x}
}

# The centre of number $1's cell for client size W x H, as "x y".
cell_middle() {
  local gw=$((W - 404)) gh=$((H - 184))
  [ $gw -lt 200 ] && gw=200
  [ $gh -lt 200 ] && gh=200
  awk -v n="$1" -v gw="$gw" -v gh="$gh" 'BEGIN {
    cw = gw / 10; ch = gh / 8; r = int((n - 1) / 10); c = (n - 1) % 10
    printf "%d %d\n", 294 + int(cw * c) + int(cw / 2), 172 + int(ch * r) + int(ch / 2) }'
}

# Picks number $1 on the card shown and waits until its cell turns purple.
pick() {
  local x y
  read -r x y <<<"$(cell_middle "$1")"
  click_at "$x" "$y"
  wait_pixel "$x" $((y - 20)) "$kPicked" 10
}

# Fails unless save file $1 holds $2 dollars staked in GENEROUS mode and conserves the money:
# balance + genBet + casBet - genWon - casWon = 1000.
check_save_money() {
  local balance genWon genBet casWon casBet
  balance=$(int_at "$1" 8)
  genWon=$(int_at "$1" 12)
  genBet=$(int_at "$1" 16)
  casWon=$(int_at "$1" 20)
  casBet=$(int_at "$1" 24)
  [ "$genBet" -eq "$2" ] || fail "the save holds \$$genBet staked, expected \$$2"
  [ $((balance + genBet + casBet - genWon - casWon)) -eq 1000 ] ||
    fail "money not conserved: balance $balance, won $genWon + $casWon, bet $genBet + $casBet"
}
