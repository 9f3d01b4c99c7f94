#!/usr/bin/env bash
# Builds the Linux program and opens its window. Installs what is missing first.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup-deps.sh
# Without the tests, which this does not build; the linux preset turns them on
# again at scripts/test.sh's next configure of the same folder.
cmake --preset linux -DBUILD_TESTING=OFF
cmake --build --preset linux -j "$(nproc)" --target Tavrel_Oskund
exec ./build/linux/Tavrel_Oskund
