#!/usr/bin/env bash
# A static, soft-float C library for every 32-bit PowerPC core, FPU or not:
# musl from Debian's source, built with Debian's cross gcc, and glibc's
# soft-float double and float helpers in lib/libsoftfp.a, which musl's
# driver file names ahead of libgcc (Debian's libgcc has hard-float ones).
# A cache entry of scripts/guest.sh that names no path of its own, so it
# works wherever it lies: bin/powerpc-musl-sf-gcc compiles static soft-float
# C programs (make CC=<prefix>/bin/powerpc-musl-sf-gcc); a build that keeps
# its own compiler links with -B<prefix>/lib/ @<prefix>/lib/link.rsp.
#   scripts/musl.sh              builds it if needed, prints the prefix
#   . scripts/musl.sh; musl_prefix  the same, the prefix in $musl_prefix
source "$(dirname "${BASH_SOURCE[0]}")/guest.sh"
musl_cflags="-msoft-float -mlong-double-64"

# Version of source package $1 in Debian's lists, fetched once per apt
# configuration (remove $guest_cache/sources to take newer ones).
musl_version() {
  guest_apt "$musl_lists" source --print-uris "$1" 2>/dev/null | sed -n "s/.* $1_\(.*\)\.dsc .*/\1/p"
}

musl_prefix() {
  local musl glibc musl_lists
  guest_need $guest_cross-gcc dpkg-source xz || return 1
  guest_entry sources "$(guest_key /etc/os-release /etc/apt/sources.list /etc/apt/sources.list.d/* <(declare -f guest_apt guest_deb_src))" \
    "Debian's lists of source packages" guest_apt || return 1
  musl_lists=$guest_entry
  musl=$(musl_version musl) && glibc=$(musl_version glibc) && [ -n "$musl" ] && [ -n "$glibc" ] ||
    guest_fail "no musl or glibc source in Debian's lists ($musl_lists)" || return 1
  guest_entry musl "$(guest_key <(echo "$musl $glibc $musl_cflags" && $guest_cross-gcc --version && dpkg-query -W linux-libc-dev-powerpc-cross) \
    <(declare -f musl_build musl_softfp) "$guest_top/scripts/musl/sfp-machine.h")" "soft-float musl $musl for PowerPC" musl_build &&
    musl_prefix=$guest_entry
}

# Built and installed here, then copied: musl's build takes no blank in a path.
musl_build() {
  local inc=/usr/$guest_cross/include p=$PWD/prefix
  guest_apt "$musl_lists" source "musl=$musl" && guest_apt "$musl_lists" source --download-only "glibc=$glibc" &&
    (cd musl-*/ && ./configure --prefix="$p" --target=$guest_cross --disable-shared CROSS_COMPILE=$guest_cross- \
      CFLAGS="$musl_cflags" && make -j"$(nproc)" && make install) || return 1
  dpkg-query -L linux-libc-dev-powerpc-cross | sed -n "s|^$inc/\([^/]*\)$|\1|p" | grep -v '^c++$' |
    (cd "$inc" && xargs cp -r -t "$p/include") || return 1
  # musl's wrapper and driver file name the prefix: ours find it through -B
  # ("-L .%s" is the first -B folder), then gcc's own folder.
  sed -n 's|.*"\$@" \([^ ]*\) ".*/\(.*\)"$|\1 \2|p' "$p/bin/musl-gcc" >"$p/lib/link.rsp" && rm "$p/bin/musl-gcc" &&
    sed -i -e "s|-L$p/lib \(.*\)|\1 -L$(dirname "$($guest_cross-gcc -print-libgcc-file-name)")|" \
      -e "s|$p/lib/\([^ }]*\)|\1%s|g" -e "s|$p/include|../include%s|" \
      -e 's|^libgcc\.a%s|-lsoftfp &|' "$p"/lib/musl-gcc.* &&
    printf '#!/bin/sh\np=$(dirname "$0")/..\nexec %s %s -static -B "$p/lib/" "$@" @"$p/lib/link.rsp"\n' \
      "$guest_cross-gcc" "$musl_cflags" >"$p/bin/powerpc-musl-sf-gcc" && chmod +x "$p/bin/powerpc-musl-sf-gcc" &&
    musl_softfp && cp -a "$p/." "$1"
}

# glibc's soft-fp routines for double and float alone, with our machine header.
musl_softfp() {
  mkdir softfp && tar -xf glibc_*.orig.tar.* -C softfp --strip-components=1 --wildcards '*/soft-fp/*' '*/stdlib/longlong.h' &&
    cp "$guest_top/scripts/musl/sfp-machine.h" softfp/stdlib/longlong.h softfp/soft-fp/ && cd softfp/soft-fp &&
    "$p/bin/powerpc-musl-sf-gcc" -Os -Wall -Werror -I. -c $(ls | grep -E \
      '^((add|sub|mul|div|neg|eq|ge|le|unord)(sf|df)[23]|fix(uns)?(sf|df)(si|di)|float(un)?(si|di)(sf|df)|extendsfdf2|truncdfsf2)\.c$') &&
    $guest_cross-ar rcs "$p/lib/libsoftfp.a" ./*.o
}

[ "${BASH_SOURCE[0]}" != "$0" ] || { musl_prefix || { echo "musl.sh: $guest_why" >&2 && exit 1; } && echo "$musl_prefix"; }
