#!/usr/bin/env bash
# run-guest.sh [--keep-disk] <image-dir> <share-dir> <seconds>
#
# Boots the test machine that build-image.sh made, with <share-dir> as its
# shared folder: the guest's init runs <share-dir>/job.sh and leaves the job's
# output in job.log and its exit status in exit-status there. Exits with the
# job's status. The disk is booted as a snapshot, so every run starts from the
# same machine, unless --keep-disk (used once, to prepare the machine).
# A machine that has not powered off after <seconds> is stopped and the run
# fails: a hung guest must never hang the tests.
set -euo pipefail
snapshot=on
if [ "${1:-}" = --keep-disk ]; then
  snapshot=off
  shift
fi
[ $# -eq 3 ] || { echo "usage: run-guest.sh [--keep-disk] IMAGE_DIR SHARE_DIR SECONDS" >&2; exit 2; }
image=$1
share=$(realpath "$2")
seconds=$3
for f in vmlinuz initrd.img disk.img; do
  [ -f "$image/$f" ] || { echo "run-guest.sh: $image/$f is missing (run tests/vm/build-image.sh)" >&2; exit 2; }
done
[ -x "$share/job.sh" ] || { echo "run-guest.sh: $share/job.sh is missing or not executable" >&2; exit 2; }
rm -f "$share/exit-status" "$share/job.log" "$share/console.log"

# TCG, since there is no KVM; the guest kernel faults on Wine's 32-bit iret
# when the emulated CPU offers SMAP, so that one feature is off.
qemu_status=0
timeout --kill-after=20 "$seconds" qemu-system-x86_64 \
  -accel tcg,thread=multi -cpu max,smap=off -smp 2 -m 2560 \
  -nodefaults -no-user-config -display none -no-reboot \
  -kernel "$image/vmlinuz" -initrd "$image/initrd.img" \
  -append "root=/dev/vda rw console=ttyS0 panic=-1 init=/sbin/tavrel-init quiet loglevel=3" \
  -drive "file=$image/disk.img,format=raw,if=virtio,snapshot=$snapshot,cache=unsafe" \
  -virtfs "local,path=$share,mount_tag=share,security_model=none" \
  -serial "file:$share/console.log" -monitor none -nic none || qemu_status=$?

if [ ! -s "$share/exit-status" ]; then
  if [ "$qemu_status" -eq 124 ] || [ "$qemu_status" -eq 137 ]; then
    echo "run-guest.sh: the test machine did not finish within $seconds s and was stopped" >&2
  else
    echo "run-guest.sh: the test machine stopped (QEMU status $qemu_status) without finishing its job" >&2
  fi
  echo "--- last lines of the machine's console ($share/console.log):" >&2
  tail -n 30 "$share/console.log" >&2 || true
  exit 125
fi
exit "$(cat "$share/exit-status")"
