# Shared by the install tests: the files an installed game consists of, and checks on a tree.
# Sourcing scripts use fail() from here.

fail() { echo "FAIL: $*" >&2; exit 1; }

app_id=com.brindlec.tessaline
source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

# Every file an install puts under its prefix, and nothing else.
expected_files() {
  printf '%s\n' \
    games/tessaline \
    games/tessaline-odds \
    "share/applications/$app_id.desktop" \
    "share/metainfo/$app_id.metainfo.xml" \
    "share/icons/hicolor/scalable/apps/$app_id.svg" \
    "share/icons/hicolor/48x48/apps/$app_id.png" \
    "share/icons/hicolor/128x128/apps/$app_id.png" \
    "share/icons/hicolor/256x256/apps/$app_id.png" \
    share/man/man6/tessaline.6.gz \
    share/man/man6/tessaline-odds.6.gz |
    sort
}

# Fails unless the sorted list of paths on stdin is exactly the list on $2 (default: the install's
# files); $1 names the tree.
expect_file_list() {
  local what=$1 expected=${2:-$(expected_files)} actual diff
  actual=$(sort)
  diff=$(diff <(printf '%s\n' "$expected") <(printf '%s\n' "$actual")) ||
    fail "$what: files differ from the expected list (< missing, > unexpected):"$'\n'"$diff"
}

# The values of a desktop entry's list key ($2), one a line, in order.
desktop_list() { sed -n "s/^$2=//p" "$1" | tr ';' '\n' | sed '/^$/d'; }

# The text of every <$2> element (with the attributes $3, if given) of a metainfo file, one a
# line, in order.
metainfo_list() { sed -n "s|.*<$2${3:+ $3}>\\([^<]*\\)</$2>.*|\\1|p" "$1"; }

# Checks a desktop entry and metainfo installed under the prefix $1 ("usr" for a package): both
# pass their validators, pedantic ones included; the entry's programs are installed in games/,
# found through PATH as Debian sets it; its icon is there in every size under the application
# id's name; entry and metainfo agree on id, icon, categories and keywords.
check_desktop_files() {
  local root=$1 log=$2
  local desktop="$root/share/applications/$app_id.desktop"
  local metainfo="$root/share/metainfo/$app_id.metainfo.xml"
  desktop-file-validate "$desktop" >"$log" 2>&1 && [ ! -s "$log" ] ||
    fail "desktop-file-validate: $(cat "$log")"
  appstreamcli validate --no-net --pedantic "$metainfo" >"$log" 2>&1 ||
    fail "appstreamcli rejects the metainfo: $(cat "$log")"
  grep -qE '^[EWIP]: ' "$log" && fail "appstreamcli, pedantic, has remarks: $(cat "$log")"

  local key program
  for key in Exec TryExec; do
    program=$(sed -n "s/^$key=//p" "$desktop")
    program=${program%% *}
    [[ $program != */* ]] || fail "$key=$program: a path, not a program found through PATH"
    [ -x "$root/games/$program" ] || fail "$key=$program is not installed in games/"
  done
  [ "$(sed -n 's/^Icon=//p' "$desktop")" = "$app_id" ] || fail "the entry's Icon is not $app_id"
  [ "$(metainfo_list "$metainfo" icon 'type="stock"' | head -1)" = "$app_id" ] ||
    fail "the metainfo's stock icon is not $app_id"
  local dir
  for dir in scalable/apps/$app_id.svg {48x48,128x128,256x256}/apps/$app_id.png; do
    [ -f "$root/share/icons/hicolor/$dir" ] || fail "icon $dir is not installed"
  done
  [ "$(metainfo_list "$metainfo" id)" = "$app_id" ] || fail "the metainfo's id is not $app_id"
  [ "$(metainfo_list "$metainfo" launchable 'type="desktop-id"')" = "$app_id.desktop" ] ||
    fail "the metainfo does not launch $app_id.desktop"
  [ "$(desktop_list "$desktop" Categories | head -1)" = Game ] ||
    fail "the desktop entry is not in the Games menu"
  diff <(desktop_list "$desktop" Categories) <(metainfo_list "$metainfo" category) >"$log" ||
    fail "desktop entry (<) and metainfo (>) list other categories: $(cat "$log")"
  diff <(desktop_list "$desktop" Keywords) <(metainfo_list "$metainfo" keyword) >"$log" ||
    fail "desktop entry (<) and metainfo (>) list other keywords: $(cat "$log")"

  # Every URL is on the domain the application id is named after.
  local domain url
  domain=$(awk -F. '{print $2 "." $1}' <<<"$app_id")
  for url in $(grep -oE 'https?://[^<"]*' "$metainfo"); do
    [[ $url == https://$domain/* ]] || fail "metainfo URL $url is not on $domain"
  done
  return 0
}
