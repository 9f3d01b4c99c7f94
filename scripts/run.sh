#!/usr/bin/env bash
# Builds the Linux program and opens its window. Installs what is missing first.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup-deps.sh
cmake --preset linux -DBUILD_TESTING=OFF
cmake --build --preset linux -j "$(nproc)" --target Tavrel_Oskund
exec ./build/linux/Tavrel_Oskund
