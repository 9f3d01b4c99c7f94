#!/usr/bin/env bash
# Fails when a tracked C++ file is not formatted as the repository's
# .clang-format says, naming each such file; clang-format 14 is the reference.
set -euo pipefail
cd "$1"
format=$(command -v clang-format-14 || command -v clang-format || true)
if [ -z "$format" ]; then
  echo "clang-format is not installed (scripts/setup-deps.sh --with-tests installs it)" >&2
  exit 1
fi
git ls-files -z -- '*.cpp' '*.h' | xargs -0 "$format" --dry-run -Werror
echo "$(git ls-files -- '*.cpp' '*.h' | wc -l) C++ files formatted"
