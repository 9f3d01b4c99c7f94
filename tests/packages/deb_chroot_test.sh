#!/usr/bin/env bash
# deb_chroot_test.sh window|piuparts <cache dir> <package.deb> [e2e_tests]
#
# The .deb on a machine as a school's IT meets it: a clean Debian 12 made by
# `debootstrap --variant=minbase bookworm` from the mirror apt uses here,
# kept in <cache dir> and made again only when it is missing (a few minutes).
#   window    installs the package there with apt-get, as IT would, then runs
#             the layout checks of the end-to-end tests against the installed
#             program under Xvfb in that system: every caption must fit its
#             label in the fonts the package brought.
#   piuparts  Debian's install and purge test of the package, on that system.
# Needs root (debootstrap, chroot, mounts) and the mirror; where either is
# missing it says why and exits 77, which ctest counts as skipped.
set -euo pipefail
mode=$1
cache=$2
deb=$(realpath "$3")
skip() {
  echo "SKIPPED: $*"
  exit 77
}
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
[ -f "$deb" ] || fail "no package at $deb (cmake --build --preset linux --target package)"
[ "$(id -u)" -eq 0 ] || skip "a clean Debian system needs root (debootstrap, chroot)"
command -v debootstrap >/dev/null || skip "needs debootstrap (scripts/setup-deps.sh --with-tests)"
[ "$mode" != piuparts ] || command -v piuparts >/dev/null || skip "needs piuparts (scripts/setup-deps.sh --with-tests)"
mirror=$(apt-get indextargets --format '$(REPO_URI) $(CODENAME)' | awk '$2 == "bookworm" { print $1; exit }')
[ -n "$mirror" ] || skip "apt knows no mirror of Debian 12 (bookworm) here"

started=$(date +%s)
elapsed() { echo "$(($(date +%s) - started)) s"; }
base=$cache/bookworm-minbase
mkdir -p "$cache/archives/partial"
exec 9>"$cache/lock"
flock -w 3600 9 || fail "another run holds $cache/lock"
if [ ! -f "$base.tgz" ]; then
  rm -rf "$base"
  echo "making the clean system: debootstrap --variant=minbase bookworm from $mirror"
  if ! timeout 1800 debootstrap --variant=minbase bookworm "$base" "$mirror" >"$cache/debootstrap.log" 2>&1; then
    tail -n 5 "$cache/debootstrap.log"
    rm -rf "$base"
    skip "debootstrap from $mirror failed (no network?); log above"
  fi
  # piuparts starts each run from this archive of it.
  tar -C "$base" -czf "$base.tgz.tmp" . && mv "$base.tgz.tmp" "$base.tgz"
  echo "clean system made and kept in $cache ($(elapsed))"
fi

if [ "$mode" = piuparts ]; then
  # The package is not in the archive, so there is nothing to upgrade from.
  piuparts --basetgz "$base.tgz" --mirror "$mirror main" --distribution bookworm --no-upgrade-test \
    --tmpdir "$cache" "$deb" >"$cache/piuparts.log" 2>&1 || { tail -n 40 "$cache/piuparts.log"; fail "piuparts failed"; }
  grep 'INFO: PASS:' "$cache/piuparts.log" || fail "piuparts did not say it passed; see $cache/piuparts.log"
  echo "piuparts passed in $(elapsed)"
  exit 0
fi

e2e_tests=$4
run=$(mktemp -d "$cache/run.XXXXXX")
tree=$run/tree
cleanup() {
  for m in "$tree/var/cache/apt/archives" "$tree/dev/pts" "$tree/dev" "$tree/proc" "$tree"; do
    mountpoint -q "$m" 2>/dev/null && umount -l "$m"
  done
  rm -rf "$run"
}
trap cleanup EXIT
mkdir -p "$run/upper" "$run/work" "$tree"
# A throw-away layer over the kept system, or a copy where overlays are not allowed.
mount -t overlay overlay -o "lowerdir=$base,upperdir=$run/upper,workdir=$run/work" "$tree" 2>/dev/null ||
  cp -a "$base/." "$tree"
mount -t proc proc "$tree/proc"
mount --bind /dev "$tree/dev"
mount --bind /dev/pts "$tree/dev/pts"
# Downloaded packages are kept for the next run.
mount --bind "$cache/archives" "$tree/var/cache/apt/archives"
cp "$deb" "$tree/tmp/package.deb"
cp "$e2e_tests" "$tree/tmp/e2e_tests"
printf '#!/bin/sh\nexit 101\n' >"$tree/usr/sbin/policy-rc.d"
chmod +x "$tree/usr/sbin/policy-rc.d"
in_tree() { chroot "$tree" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive "$@"; }
in_tree apt-get update -qq >"$run/apt.log" 2>&1 || { tail -n 5 "$run/apt.log"; skip "apt-get update from $mirror failed (no network?)"; }
# What IT types, recommended packages and all; then only what the test itself runs.
in_tree apt-get install -y -qq /tmp/package.deb >>"$run/apt.log" 2>&1 || { tail -n 20 "$run/apt.log"; fail "apt-get could not install the package"; }
fonts=$(in_tree dpkg-query -W -f '${db:Status-Abbrev} ${Package}\n' 'fonts-*' | awk '$1 == "ii" { printf "%s ", $2 }')
in_tree apt-get install -y -qq --no-install-recommends xvfb libxtst6 >>"$run/apt.log" 2>&1 || { tail -n 20 "$run/apt.log"; fail "apt-get could not install Xvfb"; }
echo "installed with apt-get, fonts: $fonts($(elapsed))"
in_tree /tmp/e2e_tests --native /usr/bin/Tavrel_Oskund --gtest_brief=1 \
  --gtest_filter='LayoutTest.CaptionsAreCentredOnALineFromTheTopEdge:LayoutTest.TheClientAreaMeasures470By409' ||
  fail "the installed program's window is wrong on a clean Debian 12 (output above)"
echo "the installed program's captions fit on a clean Debian 12 ($(elapsed))"
