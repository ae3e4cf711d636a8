#!/usr/bin/env bash
# BusyBox for the PowerPC guests: Debian's busybox source package, the
# version of the busybox-static the x86_64 guest runs, built with Debian's
# own static configuration against the soft-float musl of scripts/musl.sh,
# so one BusyBox serves every PowerPC core; cached (scripts/cache.sh) once
# scripts/fp-free.sh finds no floating-point instruction in it.
#   scripts/guest/busybox.sh      prints the binary's path
set -uo pipefail
scripts=$(cd "$(dirname "$0")/.." && pwd)
source "$scripts/cache.sh"
source "$scripts/sources.sh"

# Into folder $1, from lists $2, version $3 on musl prefix $4, checked by $5.
# musl's regex is POSIX's alone: vi's search and grep's extras want GNU's.
# musl through a link here: BusyBox's dependency files take no blank either.
busybox_make() {
  ln -s "$4" musl && PATH=$PWD/musl/bin:$PATH && sources_apt "$2" source "busybox=$3" && cd busybox-*/ &&
    cat debian/config/os/linux debian/config/pkg/static |
    sed -E 's/^(CONFIG_(EXTRA_COMPAT|FEATURE_VI_REGEX_SEARCH))=y/# \1 is not set/' >.config &&
    { yes "" || true; } | make oldconfig &&
    make -j"$(nproc)" CROSS_COMPILE=powerpc-linux-gnu- CC=powerpc-musl-sf-gcc busybox &&
    "$5" busybox && cp busybox "$1/"
}

version=$(dpkg-query -W -f='${source:Version}' busybox-static 2>/dev/null) ||
  { echo "busybox-static missing: run scripts/deps.sh system" >&2 && exit 1; }
musl=$("$scripts/musl.sh") && lists=$(sources_lists) &&
  entry=$(cache_entry busybox "$(cache_key <(echo "$version $musl") <(powerpc-linux-gnu-gcc --version) "$scripts/fp-free.sh" \
    <(declare -f busybox_make sources_apt))" "BusyBox for PowerPC" busybox_make "$lists" "$version" "$musl" "$scripts/fp-free.sh") &&
  echo "$entry/busybox"
