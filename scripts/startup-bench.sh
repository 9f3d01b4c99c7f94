#!/usr/bin/env bash
# startup-bench.sh [runs]
#
# Start-up of the program against a bare window of the same toolkit (the
# program's client size and background, one line in "Times New Roman" 12 pt):
# each started alternately, 20 times by default, on one Xvfb, timed from the
# process start to the window mapped with its route count (the bare window's
# line) drawn. Prints the medians and their ratio, for the Linux program and
# for the Windows build under Wine. A benchmark to run by hand after
# `cmake --build --preset linux`; it asserts nothing.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-20}
build=build/linux
cmake --build "$build" --target Tavrel_Oskund startup_bench bare_window_fltk -j 2 >/dev/null
bench=$build/bench/startup/startup_bench
# At a real-time priority where allowed, so that other work on the machine
# does not decide the figures: the benchmark, its X server and the programs
# it starts all inherit it.
if chrt -f 10 true 2>/dev/null; then
  bench="chrt -f 10 $bench"
fi

echo "== Linux program (FLTK)"
$bench --runs "$runs" --program "$build/Tavrel_Oskund" --bare "$build/bench/startup/bare_window_fltk"

# The Windows build under Wine, as the end-to-end tests run it: the .exe
# itself in wine32 where this machine runs 32-bit code, else its 64-bit twin
# (the same sources and settings) in wine64, each against a bare Win32 window
# built the same way.
if ! cmake --build "$build" --target wine_programs -j 2 >/dev/null 2>&1; then
  echo "== Windows build under Wine: skipped (no Wine or MinGW-w64 for it here)"
  exit 0
fi
programs=$build/tests/e2e/windows-programs
program=$programs/Tavrel_Oskund.exe
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  loader=/usr/lib/wine/wine
  [ -f build/windows/Tavrel_Oskund.exe ] && program=$PWD/build/windows/Tavrel_Oskund.exe
  echo "== Windows build under wine32"
else
  loader=/usr/lib/wine/wine64
  echo "== Windows build under wine64: the 64-bit twin of the program against a 64-bit bare window"
  echo "   (this machine runs no 32-bit code)"
fi
prefix=$PWD/$build/bench/startup/wine-prefix
[ -f "$prefix/user.reg" ] || tests/e2e/wine_prefix.sh "$prefix" "$loader" >/dev/null
trap 'WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true' EXIT
run="$PWD/tests/e2e/wine_run.sh;$prefix;$loader"
$bench --wine --runs "$runs" --program "$run;$program" --bare "$run;$programs/bare_window_win32.exe"
