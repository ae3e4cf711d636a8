#!/usr/bin/env bash
# Installs, from Debian's packages, whatever of the given groups is missing.
# Groups: build (tool and tests), run (tmux for the split view), ppc (with the
# sources of the static tool's C library), check
# (sanitizers, valgrind, fuzzing, lint), package, system (the full-system
# stage), system-ppc (its PowerPC guest, from Debian's kernel and BusyBox sources).
set -euo pipefail

declare -A probe=(
  [cmake]="command -v cmake"
  [g++]="command -v g++"
  [make]="command -v make"
  [libgtest-dev]="test -f /usr/include/gtest/gtest.h"
  [tmux]="command -v tmux"
  [g++-powerpc-linux-gnu]="command -v powerpc-linux-gnu-g++"
  [qemu-user]="command -v qemu-ppc"
  [valgrind]="command -v valgrind"
  [clang]="command -v clang++"
  [libclang-rt-14-dev]="test -f /usr/lib/llvm-14/lib/clang/14.0.6/lib/linux/libclang_rt.fuzzer-x86_64.a"
  [clang-format]="command -v clang-format"
  [clang-tidy]="command -v clang-tidy"
  [lintian]="command -v lintian"
  [dpkg-dev]="command -v dpkg-shlibdeps"
  [file]="command -v file"
  [groff]="command -v groff"
  [man-db]="command -v man"
  [qemu-system-x86]="command -v qemu-system-x86_64"
  [linux-image-amd64]="dpkg -s linux-image-amd64 2>/dev/null | grep -q '^Status: install ok installed'"
  [linux-headers-amd64]="dpkg -s linux-headers-amd64 2>/dev/null | grep -q '^Status: install ok installed'"
  [busybox-static]="dpkg -s busybox-static 2>/dev/null | grep -q '^Status: install ok installed'"
  [e2fsprogs]="command -v mke2fs && command -v debugfs && command -v e2fsck"
  [kmod]="command -v modprobe"
  [qemu-system-ppc]="command -v qemu-system-ppc"
  [linux-source-6.1]="test -f /usr/src/linux-source-6.1.tar.xz"
  [flex]="command -v flex"
  [bison]="command -v bison"
  [bc]="command -v bc"
  [xz-utils]="command -v xz"
)
declare -A groups=(
  [build]="cmake g++ make libgtest-dev"
  [run]="tmux"
  [ppc]="g++-powerpc-linux-gnu qemu-user dpkg-dev xz-utils"
  [check]="valgrind clang libclang-rt-14-dev clang-format clang-tidy tmux"
  [package]="lintian dpkg-dev file groff man-db"
  [system]="qemu-system-x86 linux-image-amd64 linux-headers-amd64 busybox-static e2fsprogs kmod make"
  [system-ppc]="qemu-system-ppc qemu-user linux-source-6.1 g++-powerpc-linux-gnu flex bison bc xz-utils dpkg-dev busybox-static e2fsprogs make"
)

missing=()
for group in "${@:-build}"; do
  [ -n "${groups[$group]:-}" ] || { echo "deps.sh: unknown group '$group'; known groups: ${!groups[*]}" >&2; exit 2; }
  for pkg in ${groups[$group]}; do
    eval "${probe[$pkg]}" >/dev/null 2>&1 || missing+=("$pkg")
  done
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
