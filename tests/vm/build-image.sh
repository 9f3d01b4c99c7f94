#!/usr/bin/env bash
# build-image.sh [--dir]
#
# Builds the emulated test machine once per machine: a Debian 12 amd64 system
# with the i386 architecture, Wine (32- and 64-bit), Xvfb and the libraries
# the end-to-end test binary needs, as an ext4 disk image with its kernel and
# initrd, and a Wine prefix prepared inside it. It lives outside the checkout
# in $TAVREL_VM_CACHE (default /var/cache/tavrel-oskund)/vm-<hash of this
# recipe> and is built again only when the recipe changes. Prints the
# machine's directory on its last line; --dir prints it without building.
# Needs root (debootstrap, chroot), debootstrap, e2fsprogs and QEMU.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
recipe=("$here/build-image.sh" "$here/guest-init.sh" "$here/run-guest.sh" "$here/../e2e/wine_prefix.sh")
hash=$(cat "${recipe[@]}" | sha256sum | cut -c1-16)
cache=${TAVREL_VM_CACHE:-/var/cache/tavrel-oskund}
image=$cache/vm-$hash
if [ "${1:-}" = --dir ]; then
  echo "$image"
  exit 0
fi

fail() {
  echo "build-image.sh: $*" >&2
  exit 1
}
[ -f "$image/ready" ] && { echo "$image"; exit 0; }
[ "$(id -u)" -eq 0 ] || fail "building the test machine needs root (debootstrap and chroot)"
for tool in debootstrap mke2fs qemu-system-x86_64 flock timeout; do
  command -v "$tool" >/dev/null || fail "$tool is missing (bash scripts/setup-deps.sh --with-tests installs it)"
done

mkdir -p "$cache"
exec 9>"$cache/build.lock"
if ! flock -n 9; then
  echo "build-image.sh: another build of the test machine is running; waiting for it" >&2
  flock -w 7200 9 || fail "gave up waiting for the other build (lock $cache/build.lock)"
fi
[ -f "$image/ready" ] && { echo "$image"; exit 0; }

# Whatever a build left behind when it was stopped, and machines of older
# recipes: each takes a few gigabytes.
rm -rf "$cache"/vm-*.tmp.* 2>/dev/null || true
for old in "$cache"/vm-*; do
  [ -e "$old" ] && [ "$old" != "$image" ] && rm -rf "$old"
done

work=$image.tmp.$$
tree=$work/tree
mkdir -p "$work"
cleanup() {
  for m in "$tree/sys" "$tree/proc" "$tree/dev/pts" "$tree/dev"; do
    mountpoint -q "$m" 2>/dev/null && umount -l "$m"
  done
  rm -rf "$work"
}
trap cleanup EXIT
started=$(date +%s)
step() { echo "build-image.sh: [$(($(date +%s) - started)) s] $*" >&2; }

# The Debian mirror apt already uses here.
mirror=$(grep -hs -E '^[[:space:]]*URIs:' /etc/apt/sources.list.d/*.sources |
  awk '{ for (i = 2; i <= NF; i++) print $i }' | grep -m1 -E '^https?://.*/debian/?$' || true)
if [ -z "$mirror" ]; then
  mirror=$(grep -hs -E '^[[:space:]]*deb[[:space:]]' /etc/apt/sources.list /etc/apt/sources.list.d/*.list |
    awk '{ for (i = 2; i <= NF; i++) print $i }' | grep -m1 -E '^https?://.*/debian/?$' || true)
fi
[ -n "$mirror" ] || fail "found no Debian mirror in /etc/apt/sources.list or /etc/apt/sources.list.d"

step "debootstrap bookworm amd64 from $mirror"
timeout 1800 debootstrap --variant=minbase --arch=amd64 bookworm "$tree" "$mirror" >"$work/debootstrap.log" 2>&1 ||
  { tail -n 20 "$work/debootstrap.log" >&2; fail "debootstrap failed (log above)"; }

# Wine's X11 libraries are only recommended: name the i386 ones.
packages=(linux-image-amd64 kmod iproute2
  wine wine32:i386 wine64 libwine:i386 fonts-liberation fontconfig xvfb
  libx11-6 libxtst6 libxft2 libstdc++6
  libx11-6:i386 libxext6:i386 libxrender1:i386 libxrandr2:i386 libxi6:i386 libxcursor1:i386
  libxinerama1:i386 libxcomposite1:i386 libxfixes3:i386 libxxf86vm1:i386 libfreetype6:i386
  libfontconfig1:i386 libgnutls30:i386 libdbus-1-3:i386)
step "installing ${#packages[@]} packages in the tree"
printf '#!/bin/sh\nexit 101\n' >"$tree/usr/sbin/policy-rc.d"
chmod +x "$tree/usr/sbin/policy-rc.d"
mount -t proc proc "$tree/proc"
mount -t sysfs sysfs "$tree/sys"
mount --bind /dev "$tree/dev"
mount --bind /dev/pts "$tree/dev/pts"
# The i386 helpers that some package scripts run (glib-compile-schemas,
# gio-querymodules) print "Exec format error" where the host runs no 32-bit
# code; dpkg still configures every package, which the audit below checks.
if ! timeout 3600 chroot "$tree" /bin/sh -c "
    set -e
    export DEBIAN_FRONTEND=noninteractive
    dpkg --add-architecture i386
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends ${packages[*]}
    test -z \"\$(dpkg --audit)\"
    apt-get clean
    rm -rf /var/lib/apt/lists/*" >"$work/packages.log" 2>&1; then
  tail -n 30 "$work/packages.log" >&2
  fail "installing the packages in the tree failed (log above)"
fi
umount "$tree/dev/pts" "$tree/dev" "$tree/sys" "$tree/proc"
rm -f "$tree/usr/sbin/policy-rc.d"

install -m 755 "$here/guest-init.sh" "$tree/sbin/tavrel-init"
mkdir -p "$tree/mnt/share" "$tree/opt/tavrel"
cp "$tree"/boot/vmlinuz-* "$work/vmlinuz"
cp "$tree"/boot/initrd.img-* "$work/initrd.img"
[ -s "$work/vmlinuz" ] && [ -s "$work/initrd.img" ] || fail "the tree has no kernel or initrd"

step "making the ext4 disk image (no loop mount: mke2fs -d)"
tree_mb=$(du -sm "$tree" | cut -f1)
truncate -s "$((tree_mb * 2 + 2048))M" "$work/disk.img"
mke2fs -q -t ext4 -L tavrel-vm -E lazy_itable_init=0,lazy_journal_init=0 -d "$tree" "$work/disk.img" ||
  fail "mke2fs could not make the disk image"
rm -rf "$tree"

# wineboot must run as 32-bit code, so the prefix is made by the machine itself.
step "booting the machine once to prepare its Wine prefix"
share=$work/share
mkdir -p "$share"
cp "$here/../e2e/wine_prefix.sh" "$share/"
cat >"$share/job.sh" <<'JOB'
#!/bin/sh
set -e
export WINEARCH=win32
timeout 900 /mnt/share/wine_prefix.sh /opt/tavrel/wine-prefix /usr/lib/wine/wine
grep -q '^#arch=win32' /opt/tavrel/wine-prefix/system.reg
JOB
chmod +x "$share/job.sh"
if ! "$here/run-guest.sh" --keep-disk "$work" "$share" 1500; then
  cat "$share/job.log" >&2 2>/dev/null || true
  fail "preparing the Wine prefix in the machine failed (output above)"
fi
rm -rf "$share"

step "done"
{
  echo "built $(date -u +%FT%TZ) in $(($(date +%s) - started)) s from $mirror"
  echo "tree $tree_mb MB; disk $(du -h --apparent-size "$work/disk.img" | cut -f1) sparse, $(du -h "$work/disk.img" | cut -f1) used"
} >"$work/ready"
cat "$work/ready" >&2
mv "$work" "$image"
trap - EXIT
echo "$image"
