#!/usr/bin/env bash
# Builds everything and runs every test: the unit tests (plain and under
# ASan+UBSan), and the end-to-end tests of the real Linux window under Xvfb
# and of Tavrel_Oskund.exe under Wine. Installs what is missing first.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup-deps.sh --with-tests

jobs=$(nproc)
# The Windows program first, so that the Linux build's end-to-end tests find it.
cmake --preset windows
cmake --build --preset windows -j "$jobs"
cmake --build --preset windows --target package
cmake --build --preset windows --target msi
cmake --preset linux
cmake --build --preset linux -j "$jobs"
cmake --build --preset linux --target package
cmake --preset asan
cmake --build --preset asan -j "$jobs"
# The web page and its tests (unit tests under Node, the page in Chromium).
cmake --preset web
cmake --build --preset web -j "$jobs"

passed=0
failed=0
status=0
for preset in asan linux web; do
  log=$(mktemp)
  ctest --preset "$preset" 2>&1 | tee "$log" || status=1
  line=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1 || true)
  if [ -z "$line" ]; then
    status=1
  else
    total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
    bad=$(sed -E 's/.*tests passed, ([0-9]+) tests failed.*/\1/' <<<"$line")
    passed=$((passed + total - bad))
    failed=$((failed + bad))
  fi
  rm -f "$log"
done
echo "$passed passed, $failed failed"
exit "$status"
