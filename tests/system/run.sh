#!/usr/bin/env bash
# Full-system stage: the tool on Debian's kernel under qemu (TCG), its serial
# line as the terminal, a driver double for /dev/quivet and a read-only ext4
# root. Usage: run.sh [TOOL_BINARY]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/../.." && pwd)
tool=${1:-$top/build/release/quivet_config}
passed=0
failed=0
die() { echo "FAIL system: $*"; echo "0 passed, 1 failed"; exit 1; }

if [ $# -eq 0 ] && [ ! -x "$tool" ]; then
  (cd "$top" && cmake --preset release >/dev/null && cmake --build --preset release) >&2 || die "release build failed"
fi
[ -x "$tool" ] || die "no tool binary at $tool"
command -v qemu-system-x86_64 >/dev/null || die "qemu-system-x86_64 missing: apt-get install qemu-system-x86"
kver=$(dpkg-query -W -f='${Depends}' linux-image-amd64 2>/dev/null | sed -n 's/^linux-image-\([^ ,]*\).*/\1/p')
[ -n "$kver" ] && [ -r "/boot/vmlinuz-$kver" ] || die "no kernel: apt-get install linux-image-amd64"
[ -d "/lib/modules/$kver/build" ] || die "no headers for $kver: apt-get install linux-headers-amd64"
bb=$(command -v busybox) && command -v mke2fs debugfs e2fsck modprobe >/dev/null ||
  die "tools missing: apt-get install busybox-static e2fsprogs kmod"

work=$(mktemp -d)
mkdir -p "$work"/{kmod,initrd/modules,initrd/bin,root/bin,root/etc,root/proc,root/dev}
cp "$here/quivet_double.c" "$work/kmod/"
echo 'obj-m := quivet_double.o' >"$work/kmod/Kbuild"
make -s -C "/lib/modules/$kver/build" M="$work/kmod" modules >"$work/kmod.log" 2>&1 ||
  die "driver double did not build against $kver headers (see $work/kmod.log)"

# The loader and libraries go along only for a dynamic binary.
install_bin() {
  cp "$1" "$2/$3"
  ldd "$1" 2>/dev/null | grep -o '/[^ ]*' | while read -r lib; do cp -L --parents "$lib" "$2"; done
}
install_bin "$bb" "$work/root" bin/busybox
for a in $("$bb" --list); do ln -s busybox "$work/root/bin/$a" 2>/dev/null; done
install_bin "$tool" "$work/root" bin/quivet_config
cp "$here/init" "$work/kmod/quivet_double.ko" "$work/root/"

install_bin "$bb" "$work/initrd" bin/busybox
cp "$here/init" "$work/initrd/init"
modprobe -S "$kver" -a --show-depends virtio_pci virtio_blk ext4 | awk '$1 == "insmod" && !seen[$2]++ { print $2 }' |
  while read -r ko; do cp "$ko" "$work/initrd/modules/" && basename "$ko" >>"$work/initrd/modules/order"; done
(cd "$work/initrd" && find . | "$bb" cpio -o -H newc 2>/dev/null) >"$work/initrd.cpio"

# Waits for $1 on the serial line (for qemu's end when $1 is empty), $2 seconds at most.
await() {
  local until=$((SECONDS + $2))
  until { [ -n "$1" ] && grep -aq -- "$1" "$d/out"; } || ! kill -0 "$qpid" 2>/dev/null; do
    [ $SECONDS -ge "$until" ] && return 1
    sleep 0.2
  done
  [ -z "$1" ] || grep -aq -- "$1" "$d/out"
}

# One case: name, disk (rw/ro), board (1/0), file before (- none), keys,
# driver record, screen texts (;-separated), file after (- none), end (ro/cut).
row() {
  local name=$1 disk=$2 board=$3 before=$4 keys=$5 rec=$6 texts=$7 after=$8 end=$9 why= t
  d=$work/$name
  mkdir "$d"
  rm -f "$work/root/etc/quivet.conf"
  [ "$before" = - ] || printf '%b' "$before" >"$work/root/etc/quivet.conf"
  ln -sf "$([ "$end" = cut ] && echo ../init || echo busybox)" "$work/root/bin/sh"
  mke2fs -q -t ext4 -d "$work/root" "$d/disk.img" 24M >/dev/null
  mkfifo "$d/in"
  : >"$d/out"
  qemu-system-x86_64 -nodefaults -display none -no-reboot -m 256 -cpu max -serial stdio \
    -kernel "/boot/vmlinuz-$kver" -initrd "$work/initrd.cpio" \
    -append "console=ttyS0 quiet loglevel=0 panic=-1 qboard=$board" \
    -drive "file=$d/disk.img,format=raw,if=virtio,readonly=$([ "$disk" = ro ] && echo on || echo off)" \
    <"$d/in" >"$d/out" 2>&1 &
  qpid=$!
  exec 3<>"$d/in"
  await QUIVET-READY 120 && printf '%b' "$keys" >&3 || why+="no boot; "
  await "$([ "$end" = cut ] && echo QUIVET-CUT)" 120 || why+="timed out; "
  kill -9 "$qpid" 2>/dev/null
  wait "$qpid" 2>/dev/null
  exec 3>&-

  tr -d '\r' <"$d/out" >"$d/log"
  local screen got
  screen=$(sed -n '/QUIVET-READY/,/QUIVET-EXIT\|QUIVET-CUT/p' "$d/log")
  got=$(sed -n 's/^REC //p' "$d/log" | paste -sd, -)
  [ "$got" = "$rec" ] || why+="driver saw '$got'; "
  IFS=';' read -ra t <<<"$texts"
  for t in "${t[@]}"; do grep -qF -- "$t" <<<"$screen" || why+="screen lacks '$t'; "; done
  ! grep -qE -- '-ne |stty|sh: ' <<<"$screen" || why+="shell text on screen; "
  grep -q $'\ec' <<<"$screen" || why+="screen never cleared; "
  e2fsck -fy "$d/disk.img" >"$d/fsck.log" 2>&1
  [ $? -le 1 ] || why+="e2fsck found damage; "
  debugfs -R 'cat /etc/quivet.conf' "$d/disk.img" >"$d/file" 2>"$d/debugfs.log"
  if [ "$after" = - ]; then
    grep -q 'not found' "$d/debugfs.log" || why+="file written; "
  else
    printf '%b' "$after" | cmp -s - "$d/file" || why+="file holds '$(cat -A "$d/file")'; "
  fi
  if [ "$end" = cut ]; then
    grep -q '^ROOT .* / ext4 rw,' "$d/log" && grep -q 'recovering journal' "$d/fsck.log" || why+="no cut while rw; "
  else
    grep -q '^QUIVET-EXIT 0$' "$d/log" || why+="exit status not 0; "
    grep -q "^ROOT .* / ext4 $end," "$d/log" || why+="root not $end; "
  fi
  if [ -z "$why" ]; then
    echo "ok   $name"
    passed=$((passed + 1))
  else
    echo "FAIL $name: $why(serial log: $d/log)"
    failed=$((failed + 1))
  fi
}

source "$here/cases"
[ $failed -eq 0 ] && [ -z "${QUIVET_SYSTEM_KEEP:-}" ] && rm -rf "$work"
echo "$passed passed, $failed failed"
[ $failed -eq 0 ]
