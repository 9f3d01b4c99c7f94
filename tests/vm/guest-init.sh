#!/bin/sh
# PID 1 of the test machine, instead of an init system: mounts what programs
# expect, runs the job the host put in the shared folder, leaves its exit
# status there and powers the machine off. Everything the job needs comes in
# through the share and everything it makes goes out through it.
PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
HOME=/root
LANG=C.UTF-8
export PATH HOME LANG

# The initramfs hands over /proc, /sys and /dev already mounted.
mountpoint -q /proc || mount -t proc proc /proc
mountpoint -q /sys || mount -t sysfs sysfs /sys
mountpoint -q /dev || mount -t devtmpfs devtmpfs /dev
mkdir -p /dev/pts /dev/shm
mount -t devpts devpts /dev/pts
mount -t tmpfs tmpfs /dev/shm
mount -t tmpfs tmpfs /run
mount -t tmpfs tmpfs /tmp
hostname tavrel-vm
ip link set lo up 2>/dev/null

share=/mnt/share
modprobe 9pnet_virtio
modprobe 9p
mkdir -p $share
if mount -t 9p -o trans=virtio,version=9p2000.L,msize=524288 share $share; then
    status=127
    if [ -x $share/job.sh ]; then
        echo "tavrel-vm: running the job"
        $share/job.sh >$share/job.log 2>&1
        status=$?
        echo "tavrel-vm: the job ended with status $status"
    fi
    echo $status >$share/exit-status
    sync
    umount $share
else
    echo "tavrel-vm: the shared folder did not mount"
fi
# A machine that keeps its disk (the one boot that prepares it) must leave
# the file system clean.
mount -o remount,ro / 2>/dev/null
sync
echo o >/proc/sysrq-trigger
# From here on the disk may be gone: only shell builtins, or init would exit
# and the kernel would panic (which -no-reboot and panic=-1 turn into an exit
# of QEMU as well).
while :; do :; done
