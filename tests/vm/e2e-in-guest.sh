#!/usr/bin/env bash
# e2e-in-guest.sh <results.xml> <e2e_tests> <Tavrel_Oskund.exe> <error_report_program.exe> <pictures-dir> [gtest options]
#
# Runs the end-to-end test binary inside the emulated test machine (see
# build-image.sh) against the real 32-bit Windows programs under the guest's
# wine32: the same binary and the same checks as on a host that runs 32-bit
# code. The binary is a Debian 12 amd64 program like the guest, so it runs
# there as built. Its GoogleTest output streams here, its XML report lands in
# <results.xml>, and this script exits with its exit code.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
[ $# -ge 5 ] || { echo "usage: e2e-in-guest.sh RESULTS.xml E2E_TESTS PROGRAM.exe ERROR_PROGRAM.exe PICTURES [gtest options]" >&2; exit 2; }
results=$1 tests=$2 program=$3 error_program=$4 pictures=$5
shift 5
# A run of the whole suite takes 11 to 16 minutes on 2 cores; past this the
# machine counts as hung.
guest_seconds=${TAVREL_VM_SECONDS:-1800}

image=$("$here/build-image.sh" | tail -n 1)
share=$(mktemp -d "${TMPDIR:-/tmp}/tavrel-vm.XXXXXX")
follower=
trap '[ -z "$follower" ] || kill "$follower" 2>/dev/null; rm -rf "$share"' EXIT
mkdir -p "$share/in"
cp "$tests" "$share/in/e2e_tests"
cp "$program" "$share/in/Tavrel_Oskund.exe"
cp "$error_program" "$share/in/error_report_program.exe"
cp -r "$pictures" "$share/in/pictures"
cp "$here/../e2e/wine_run.sh" "$share/in/"
printf '%q ' "$@" >"$share/gtest-options"

cat >"$share/job.sh" <<'JOB'
#!/bin/sh
# In the guest: the programs on the guest's own disk rather than the share,
# the prefix the machine was built with, and one Wine session for the whole
# run, as on a desktop where the user is logged in.
set -e
cp -r /mnt/share/in /tmp/run
cd /tmp/run
export WINEPREFIX=/opt/tavrel/wine-prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wineserver -p
loader=/usr/lib/wine/wine
status=0
eval "set -- $(cat /mnt/share/gtest-options)"
./e2e_tests --wine "/tmp/run/wine_run.sh;$WINEPREFIX;$loader;/tmp/run/Tavrel_Oskund.exe" --pictures /tmp/run/pictures \
    --error-program "/tmp/run/wine_run.sh;$WINEPREFIX;$loader;/tmp/run/error_report_program.exe" \
    --gtest_output=xml:/mnt/share/results.xml "$@" || status=$?
wineserver -k || true
exit $status
JOB
chmod +x "$share/job.sh"

# The guest's output as it comes, so that a slow run shows where it is.
touch "$share/job.log"
tail -n +1 -F "$share/job.log" 2>/dev/null &
follower=$!
status=0
"$here/run-guest.sh" "$image" "$share" "$guest_seconds" || status=$?
sleep 1
kill "$follower" 2>/dev/null || true
wait "$follower" 2>/dev/null || true
follower=
if [ -f "$share/results.xml" ]; then
  cp "$share/results.xml" "$results"
fi
exit "$status"
