#!/usr/bin/env bash
# A guest for the tool, laid out in folder WORK: root/, the tree of its ext4
# root (the tool with its loader and libraries, BusyBox, the driver double,
# tests/system/init), and qemu, qemu's command line but the disk, one
# argument a line (scripts/guest/qemu.sh boots it). x86_64 boots Debian's
# packaged kernel, loading virtio and ext4 from WORK/initrd.cpio; powerpc
# the kernel and BusyBox of kernel.sh and busybox.sh beside this script.
#   scripts/guest/prepare.sh x86_64|powerpc WORK TOOL [CORE]
#                              CORE: qemu's powerpc core (default e500mc)
# A failure prints one line naming the step (and its log) on stderr.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)

need() {
  local cmd
  for cmd in "$@"; do
    command -v "$cmd" >/dev/null || { echo "$cmd missing: run scripts/deps.sh system system-ppc" >&2 && return 1; }
  done
}

# ELF $3 as $4 in root $2 of an $1 guest, with the loader and libraries it
# asks for (a PowerPC one's found by its loader under qemu-ppc).
install_elf() {
  local lib sysroot=/ list=(ldd "$3")
  [ "$1" = x86_64 ] || sysroot=/usr/powerpc-linux-gnu list=(qemu-ppc -L /usr/powerpc-linux-gnu -E LD_TRACE_LOADED_OBJECTS=1 "$3")
  cp "$3" "$2/$4" || return 1
  readelf -l "$3" 2>/dev/null | grep -q 'program interpreter' || return 0
  for lib in $("${list[@]}" </dev/null | grep -o '/[^ ]*'); do
    (cd "$sysroot" && cp -L --parents ".$lib" "$2") || return 1
  done
}

arch=$1 work=$2 tool=$3 core=${4:-e500mc}
mkdir -p "$work"/root/{bin,etc,proc,dev} || exit 1
case $arch in
  x86_64)
    need qemu-system-x86_64 busybox mke2fs debugfs modprobe || exit 1
    kver=$(dpkg-query -W -f='${Depends}' linux-image-amd64 2>/dev/null | sed -n 's/^linux-image-\([^ ,]*\).*/\1/p')
    [ -n "$kver" ] && [ -r "/boot/vmlinuz-$kver" ] && [ -d "/lib/modules/$kver/build" ] ||
      { echo "no kernel or headers: run scripts/deps.sh system" >&2 && exit 1; }
    kernel=/boot/vmlinuz-$kver tree=/lib/modules/$kver/build bb=$(command -v busybox) host=() make=()
    qemu=(qemu-system-x86_64 -cpu max) append="console=ttyS0"
    ;;
  powerpc)
    need qemu-system-ppc qemu-ppc mke2fs debugfs || exit 1
    kernel=$("$here/kernel.sh" "$core") && bb=$("$here/busybox.sh") || exit 1
    tree=$kernel/build kernel=$kernel/vmlinux host=(qemu-ppc) make=(ARCH=powerpc CROSS_COMPILE=powerpc-linux-gnu-)
    qemu=(qemu-system-ppc -M ppce500 -cpu "$core") append="console=ttyS0 root=/dev/vda rootfstype=ext4 ro init=/init"
    ;;
  *) echo "no guest for '$arch' (x86_64 or powerpc)" >&2 && exit 1 ;;
esac
ko=$("$here/double.sh" "$tree" "${make[@]}") && cp "$ko" "$work/root/" || exit 1
install_elf "$arch" "$work/root" "$bb" bin/busybox && install_elf "$arch" "$work/root" "$tool" bin/quivet_config ||
  { echo "copying the tool and its libraries failed" >&2 && exit 1; }
for a in $("${host[@]}" "$bb" --list); do ln -s busybox "$work/root/bin/$a" 2>/dev/null; done
cp "$here/../../tests/system/init" "$work/root/" || exit 1

# Debian's kernel has virtio and ext4 as modules: an initramfs loads them.
if [ "$arch" = x86_64 ]; then
  mkdir -p "$work/initrd/modules" "$work/initrd/bin"
  cp "$bb" "$work/initrd/bin/busybox"
  cp "$here/../../tests/system/init" "$work/initrd/init"
  modprobe -S "$kver" -a --show-depends virtio_pci virtio_blk ext4 | awk '$1 == "insmod" && !seen[$2]++ { print $2 }' |
    while read -r ko; do cp "$ko" "$work/initrd/modules/" && basename "$ko" >>"$work/initrd/modules/order"; done
  (cd "$work/initrd" && find . | "$bb" cpio -o -H newc 2>/dev/null) >"$work/initrd.cpio" || exit 1
  qemu+=(-initrd "$work/initrd.cpio")
fi
printf '%s\n' "${qemu[@]}" -nodefaults -display none -no-reboot -m 256 -chardev stdio,id=tty,signal=off -serial chardev:tty \
  -kernel "$kernel" -append "$append quiet loglevel=0 panic=-1" >"$work/qemu"
