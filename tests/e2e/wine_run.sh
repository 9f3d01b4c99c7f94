#!/usr/bin/env bash
# wine_run.sh <prefix> <wine-loader> <program.exe> [arguments...]
#
# Starts a Windows program in the test prefix, in the foreground: the process
# that runs this script becomes the program, so its id and exit code are the
# program's, as they are for the Linux program.
set -euo pipefail
export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
loader=$2
shift 2
exec "$loader" "$@"
