#!/usr/bin/env bash
# A static, soft-float C library for every 32-bit PowerPC core, FPU or not:
# musl from Debian's source, built with Debian's cross gcc, and soft-float
# double and float helpers from Debian's glibc source (Debian's libgcc has
# hard-float ones), cached under ${XDG_CACHE_HOME:-~/.cache}/quivet-guest and
# keyed on what built it. The prefix holds musl with the helpers in its
# libc.a, the Linux UAPI headers, lib/link.rsp (the link options of musl's
# own musl-gcc, for gcc's @file) and bin/powerpc-musl-sf-gcc, a C
# compiler for static soft-float programs: make CC=<prefix>/bin/powerpc-musl-sf-gcc.
#   scripts/musl.sh              builds it if needed, prints the prefix
#   . scripts/musl.sh; musl_prefix  the same, the prefix in $musl_prefix
source "$(dirname "${BASH_SOURCE[0]}")/guest.sh"
musl_cflags="-msoft-float -mlong-double-64"

# Version of source package $1 apt-get would fetch, from lists kept in the
# cache (remove $guest_cache/apt to take newer sources).
musl_version() {
  [ -d "$guest_cache/apt/lists" ] || guest_apt "$guest_cache" update >&2 || return 1
  guest_apt "$guest_cache" source --print-uris "$1" 2>/dev/null | sed -n "s/.* $1_\(.*\)\.dsc .*/\1/p"
}

musl_prefix() {
  local musl glibc key dir
  guest_need $guest_cross-gcc dpkg-source xz || return 1
  musl=$(musl_version musl) && glibc=$(musl_version glibc) && [ -n "$musl" ] && [ -n "$glibc" ] ||
    guest_fail "no musl or glibc source in Debian's lists ($guest_cache/apt)" || return 1
  key=$(guest_key <(echo "$musl $glibc $musl_cflags" && $guest_cross-gcc --version && dpkg-query -W linux-libc-dev-powerpc-cross) \
    <(declare -f musl_build musl_softfp musl_wrap) "$guest_top/scripts/musl/sfp-machine.h")
  dir=$guest_cache/musl-$key
  musl_prefix=$dir/prefix
  # One build at a time. Another key may serve another checkout: only those
  # unused for a week go.
  (flock 9 && if [ ! -f "$dir/done" ]; then
    echo "Building soft-float musl for PowerPC (once; cached in $dir)" >&2
    find "$guest_cache" -maxdepth 2 -path '*/musl-*/done' -mtime +7 -printf '%h\n' | xargs -r rm -rf
    mkdir -p "$dir" && musl_build >"$dir/build.log" 2>&1
  fi && touch "$dir/done") 9>"$guest_cache/musl.lock" ||
    guest_fail "building musl $musl and the soft-float helpers failed" "$dir/build.log"
}

musl_build() {
  local src inc=/usr/$guest_cross/include
  cd "$dir" && guest_apt "$guest_cache" source "musl=$musl" &&
    guest_apt "$guest_cache" source --download-only "glibc=$glibc" || return 1
  src=$(find "$dir" -mindepth 1 -maxdepth 1 -type d -name 'musl-*')
  (cd "$src" && ./configure --prefix="$musl_prefix" --target=$guest_cross --disable-shared \
    CROSS_COMPILE=$guest_cross- CFLAGS="$musl_cflags" && make -j"$(nproc)" && make install) || return 1
  dpkg-query -L linux-libc-dev-powerpc-cross | sed -n "s|^$inc/\([^/]*\)$|\1|p" | grep -v '^c++$' |
    (cd "$inc" && xargs cp -r -t "$musl_prefix/include") || return 1
  musl_wrap && musl_softfp
}

# musl's own musl-gcc, static and soft-float; its link options also in a
# file for gcc's @file, for builds that keep their own compiler.
musl_wrap() {
  local gcc=$musl_prefix/bin/powerpc-musl-sf-gcc
  sed -n 's/.*"\$@" //p' "$musl_prefix/bin/musl-gcc" >"$musl_prefix/lib/link.rsp"
  printf '#!/bin/sh\nREALGCC=%s exec %s %s -static "$@"\n' "$guest_cross-gcc" "$musl_prefix/bin/musl-gcc" "$musl_cflags" >"$gcc"
  chmod +x "$gcc"
}

# glibc's soft-fp routines for double and float alone, with our machine
# header, put in libc.a: found there before libgcc's hard-float ones.
musl_softfp() {
  local sfp=$dir/softfp
  mkdir -p "$sfp" && tar -xf "$dir"/glibc_*.orig.tar.* -C "$sfp" --strip-components=1 --wildcards '*/soft-fp/*' \
    '*/stdlib/longlong.h' && cp "$guest_top/scripts/musl/sfp-machine.h" "$sfp/stdlib/longlong.h" "$sfp/soft-fp/" &&
    cd "$sfp/soft-fp" && "$musl_prefix/bin/powerpc-musl-sf-gcc" -Os -Wall -Werror -I. -c $(ls | grep -E \
      '^((add|sub|mul|div|neg|eq|ge|le|unord)(sf|df)[23]|fix(uns)?(sf|df)(si|di)|float(un)?(si|di)(sf|df)|extendsfdf2|truncdfsf2)\.c$') &&
    $guest_cross-ar rs "$musl_prefix/lib/libc.a" ./*.o
}

[ "${BASH_SOURCE[0]}" != "$0" ] || { musl_prefix || { echo "musl.sh: $guest_why" >&2 && exit 1; } && echo "$musl_prefix"; }
