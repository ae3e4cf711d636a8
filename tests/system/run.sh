#!/usr/bin/env bash
# Full-system stage: the tool on a real kernel under qemu (TCG), its serial
# line as the terminal, a driver double for /dev/quivet and a read-only ext4
# root. Usage: run.sh [--arch x86_64|powerpc] [--cpu e500mc|e500v2] [--preset NAME]
# The preset's tool is built first, a no-op when current.
# QUIVET_SYSTEM_CASES="save ..." runs only the cases named.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/../.." && pwd)
arch=x86_64 cpu= preset=
[ "${1:-}" = --arch ] && { arch=$2; shift 2; }
[ "${1:-}" = --cpu ] && { cpu=$2; shift 2; }
[ "${1:-}" = --preset ] && { preset=$2; shift 2; }
[ $# -eq 0 ] || { echo "run.sh: unknown argument '$1'" >&2; exit 2; }
# A core without a classic FPU runs the soft-float static tool alone.
case $arch-$cpu in
  powerpc-|powerpc-e500mc) : "${preset:=ppc-release}" ;;
  powerpc-*) : "${preset:=ppc-static}" ;;
  *) : "${preset:=release}" ;;
esac
on="$arch${cpu:+ $cpu}"
tool=$top/build/$preset/quivet_config
passed=0 failed=0 keep=
die() { keep=1; echo "FAIL system $on: $*"; echo "0 passed, 1 failed"; exit 1; }

(cd "$top" && cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset") >&2 || die "$preset build failed"
[ -x "$tool" ] || die "no tool binary at $tool"
source "$top/scripts/guest/qemu.sh"
work=$(mktemp -d)
# Ctrl-C included: the guest is ended and the work folder goes unless kept.
trap '{ kill -9 $(jobs -p); wait; } 2>/dev/null; [ -n "$keep" ] || rm -rf "$work"' EXIT
"$top/scripts/guest/prepare.sh" "$arch" "$work" "$tool" "$cpu" || die "no guest: the line above names the step"

# One case: name, disk (rw/ro), file before (- none), keys, driver record,
# screen texts (;-separated), file after (- none), end (ro/cut/user).
row() {
  local name=$1 disk=$2 before=$3 keys=$4 rec=$5 texts=$6 after=$7 end=$8 why= t d=$work/$1
  [[ " ${QUIVET_SYSTEM_CASES:-$1} " == *" $1 "* ]] || return 0
  mkdir "$d"
  rm -f "$work/root/etc/quivet.conf"
  [ "$before" = - ] || printf '%b' "$before" >"$work/root/etc/quivet.conf"
  # For cut the shell is the guest's script, acting on /fault.
  echo "$end" >"$work/root/fault"
  ln -sf "$([ "$end" = cut ] && echo ../init || echo busybox)" "$work/root/bin/sh"
  guest_disk "$work" "$d/disk.img"
  guest_script "$work" "$d/disk.img" "$disk" "$keys" "$d/out" "$([ "$end" = cut ] && echo QUIVET-CUT)" || why=$guest_why

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
    t=$(sed -n 's/^QUIVET-EXIT //p' "$d/log")
    [ "$t" = 0 ] || why+="exit status '$t'; "
    grep -q '^ROOT .* / ext4 ro,' "$d/log" || why+="root not ro; "
  fi
  [ -z "$why" ] && { echo "ok   $on $name" && passed=$((passed + 1)) && return; }
  echo "FAIL $on $name: $why(serial log: $d/log)"
  failed=$((failed + 1))
}

source "$here/cases"
set -- ${QUIVET_SYSTEM_CASES:-}
# Fewer cases than named (or none at all) is a failure, not a pass.
[ $((passed + failed)) -ge $(($# > 0 ? $# : 1)) ] || { echo "FAIL $on: $((passed + failed)) cases ran"; failed=$((failed + 1)); }
[ $failed -eq 0 ] && [ -z "${QUIVET_SYSTEM_KEEP:-}" ] || keep=1
echo "$passed passed, $failed failed"
[ $failed -eq 0 ]
