#!/usr/bin/env bash
# Installs, from Debian's packages, whatever of the given groups is missing.
# Groups: build (tool and tests), run (tmux for the split view, BusyBox's
# shell for the screens), ppc (with the sources of the static tool's C
# library), check (sanitizers, valgrind, fuzzing, lint, GNU time for the
# bench), package, system (the full-system stage), system-ppc (its PowerPC
# guest, from Debian's kernel and BusyBox sources).
set -euo pipefail

declare -A groups=(
  [build]="cmake g++ make ninja-build ccache libgtest-dev"
  [run]="tmux busybox-static"
  [ppc]="g++-powerpc-linux-gnu qemu-user dpkg-dev xz-utils"
  [check]="valgrind time clang libclang-rt-14-dev clang-format clang-tidy tmux"
  [package]="lintian dpkg-dev file groff-base man-db"
  [system]="qemu-system-x86 linux-image-amd64 linux-headers-amd64 busybox-static e2fsprogs kmod make"
  [system-ppc]="qemu-system-ppc qemu-user linux-source-6.1 g++-powerpc-linux-gnu flex bison bc xz-utils dpkg-dev busybox-static e2fsprogs make"
)

missing=()
for group in "${@:-build}"; do
  [ -n "${groups[$group]:-}" ] || { echo "deps.sh: unknown group '$group'; known groups: ${!groups[*]}" >&2; exit 2; }
  for pkg in ${groups[$group]}; do
    [ "$(dpkg-query -W -f='${db:Status-Abbrev}' "$pkg" 2>/dev/null)" = "ii " ] || missing+=("$pkg")
  done
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
