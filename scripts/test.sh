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

# Each run is judged by ctest's exit status, which is non-zero whenever a
# test failed or none could run; its own summary says which.
failed=()
for preset in asan linux web; do
  ctest --preset "$preset" --no-tests=error || failed+=("$preset")
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "tests failed in: ${failed[*]}"
  exit 1
fi
echo "every test passed (asan, linux, web)"
