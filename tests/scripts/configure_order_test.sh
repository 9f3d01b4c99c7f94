#!/usr/bin/env bash
# configure_order_test.sh <source_dir>
#
# scripts/run.sh and scripts/test.sh configure the one folder build/linux,
# run.sh without the tests; a clone may see them in any order, any number of
# times, and what one leaves in the CMake cache must not cost the other its
# tests. Their configure lines, read from the scripts themselves so that this
# follows every change to them, run here on scratch folders: run.sh, test.sh,
# run.sh, test.sh must register every test that test.sh alone registers.
# Configure only: nothing is built, and build/linux is left alone.
set -euo pipefail
source_dir=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# The one line of scripts/<name> that configures the linux preset.
configure_line() {
  local lines
  lines=$(grep -E '^[[:space:]]*cmake[[:space:]]+--preset[[:space:]]+linux([[:space:]]|$)' "$source_dir/scripts/$1" || true)
  [ -n "$lines" ] && [ "$(wc -l <<<"$lines")" -eq 1 ] ||
    fail "scripts/$1 has no single 'cmake --preset linux' line to replay"
  echo "$lines"
}
run_line=$(configure_line run.sh)
test_line=$(configure_line test.sh)

# Runs a script's configure line on folder <dir>, from where the scripts run
# it; -B goes first so that a comment at the line's end stays a comment.
configure() { # line dir
  local line=$1 dir=$2
  (cd "$source_dir" && eval "cmake -B \"\$dir\" ${line#*cmake}") >"$scratch/configure.log" 2>&1 ||
    { cat "$scratch/configure.log" >&2; fail "'$line' failed on $dir"; }
}

tests_of() { # dir
  ctest --test-dir "$1" -N | sed -n 's/^ *Test *#[0-9]*: //p' | sort
}

configure "$test_line" "$scratch/alone"
every_test=$(tests_of "$scratch/alone")
[ -n "$every_test" ] || fail "'$test_line' registers no tests even on a fresh folder"

for round in 1 2; do
  configure "$run_line" "$scratch/shared"
  configure "$test_line" "$scratch/shared"
  lost=$(comm -23 <(echo "$every_test") <(tests_of "$scratch/shared"))
  [ -z "$lost" ] || fail "after run.sh then test.sh (round $round) these tests are gone:"$'\n'"$lost"
done
echo "run.sh, test.sh, run.sh, test.sh: all $(wc -l <<<"$every_test") tests of test.sh kept"
