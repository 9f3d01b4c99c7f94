#!/usr/bin/env bash
# wine_prefix.sh <prefix> <wine-loader>
#
# Makes the Wine prefix that the end-to-end tests run the Windows program in,
# once per test run: a fresh prefix, with "Times New Roman" (which Wine does
# not ship) drawn in Liberation Serif, the free font of the same metrics. This
# is a setting of the test desktop; the program itself reads no setting.
set -euo pipefail
prefix=$1
loader=$2

export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Never Wine's own window for a prefix update: no display is needed here.
unset DISPLAY

rm -rf "$prefix"
mkdir -p "$prefix"
"$loader" wineboot --init
"$loader" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Times New Roman' /d 'Liberation Serif' /f
# The registry reaches the disk only when the server ends.
wineserver -w
test -f "$prefix/user.reg"
grep -q '"Times New Roman"="Liberation Serif"' "$prefix/user.reg"
echo "Wine prefix ready in $prefix"
