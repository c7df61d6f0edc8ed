# Shared by the install tests: the files an installed game consists of, and checks on a tree.
# Sourcing scripts use fail() from here.

fail() { echo "FAIL: $*" >&2; exit 1; }

app_id=com.brindlec.tessaline

# Every file an install puts under its prefix, and nothing else.
expected_files() {
  printf '%s\n' \
    bin/tessaline \
    bin/tessaline-odds \
    "share/applications/$app_id.desktop" \
    "share/metainfo/$app_id.metainfo.xml" \
    share/icons/hicolor/scalable/apps/tessaline.svg \
    share/icons/hicolor/48x48/apps/tessaline.png \
    share/icons/hicolor/128x128/apps/tessaline.png \
    share/icons/hicolor/256x256/apps/tessaline.png \
    share/man/man6/tessaline.6.gz \
    share/man/man6/tessaline-odds.6.gz |
    sort
}

# Fails unless the sorted list of paths on stdin is exactly the expected list; $1 names the tree.
expect_file_list() {
  local what=$1 actual
  actual=$(sort)
  local diff
  diff=$(diff <(expected_files) <(printf '%s\n' "$actual")) ||
    fail "$what: files differ from the expected list (< missing, > unexpected):"$'\n'"$diff"
}
