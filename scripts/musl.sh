#!/usr/bin/env bash
# A static, soft-float C library for every 32-bit PowerPC core, FPU or not:
# musl from Debian's source, built with Debian's cross gcc, and soft-float
# double and float helpers from Debian's glibc source (Debian's libgcc has
# hard-float ones), cached under ${XDG_CACHE_HOME:-~/.cache}/quivet-guest and
# keyed on what built it. The prefix holds musl, lib/libsoftfp.a, the Linux
# UAPI headers, lib/quivet.specs and bin/powerpc-musl-sf-gcc, a C compiler
# for static soft-float programs: make CC=<prefix>/bin/powerpc-musl-sf-gcc.
#   scripts/musl.sh              builds it if needed, prints the prefix
#   . scripts/musl.sh; musl_prefix  the same, the prefix in $musl_prefix
source "$(dirname "${BASH_SOURCE[0]}")/guest.sh"
musl_cflags="-msoft-float -mlong-double-64"
musl_uapi=linux-libc-dev-powerpc-cross

# Version of source package $1 apt-get would fetch, from lists kept in the
# cache (remove $guest_cache/apt to take newer sources).
musl_version() {
  [ -d "$guest_cache/apt/lists" ] || guest_apt "$guest_cache" update >&2 || return 1
  guest_apt "$guest_cache" source --print-uris "$1" 2>/dev/null | sed -n "s/.* $1_\(.*\)\.dsc .*/\1/p"
}

musl_prefix() {
  local ok
  guest_need $guest_cross-gcc dpkg-source xz || return 1
  mkdir -p "$guest_cache" && exec {musl_lock}>"$guest_cache/musl.lock" || return 1
  flock "$musl_lock" && musl_locked
  ok=$?
  exec {musl_lock}>&-
  return $ok
}

musl_locked() {
  local musl glibc uapi key dir
  musl=$(musl_version musl) && glibc=$(musl_version glibc) && [ -n "$musl" ] && [ -n "$glibc" ] ||
    guest_fail "no musl or glibc source in Debian's lists ($guest_cache/apt)" || return 1
  uapi=$(dpkg-query -W -f='${Version}' $musl_uapi)
  key=$(guest_key <(echo "$musl $glibc $uapi $musl_cflags") <($guest_cross-gcc --version) \
    <(declare -f musl_build musl_softfp musl_specs) "$guest_top/scripts/musl/sfp-machine.h")
  dir=$guest_cache/musl-$key
  musl_prefix=$dir/prefix
  [ -f "$dir/done" ] && return 0
  echo "Building soft-float musl for PowerPC (once; cached in $dir)" >&2
  rm -rf "$guest_cache"/musl-*
  mkdir -p "$dir"
  guest_step "building musl $musl and the soft-float helpers" "$dir/build.log" musl_build && touch "$dir/done"
}

musl_build() {
  local src inc=/usr/$guest_cross/include
  cd "$dir" && guest_apt "$guest_cache" source "musl=$musl" &&
    guest_apt "$guest_cache" source --download-only "glibc=$glibc" || return 1
  src=$(find "$dir" -mindepth 1 -maxdepth 1 -type d -name 'musl-*')
  (cd "$src" && ./configure --prefix="$musl_prefix" --target=$guest_cross --disable-shared \
    CROSS_COMPILE=$guest_cross- CFLAGS="$musl_cflags" && make -j"$(nproc)" && make install) || return 1
  dpkg-query -L $musl_uapi | sed -n "s|^$inc/\([^/]*\)$|\1|p" | grep -v '^c++$' |
    (cd "$inc" && xargs cp -r -t "$musl_prefix/include") || return 1
  musl_specs && musl_softfp
}

# musl's start files and library in place of glibc's, soft-float helpers ahead
# of libgcc's; -static-pie starts with rcrt1.o, which relocates itself.
musl_specs() {
  local lib=$musl_prefix/lib gcc=$musl_prefix/bin/powerpc-musl-sf-gcc
  cat >"$lib/quivet.specs" <<EOF
%rename cpp_options old_cpp_options

*cpp_options:
-nostdinc -isystem $musl_prefix/include -isystem include%s %(old_cpp_options)

*cc1:
%(cc1_cpu) -nostdinc -isystem $musl_prefix/include -isystem include%s

*link_libgcc:
-L$lib -L .%s

*libgcc:
-lsoftfp libgcc.a%s

*startfile:
%{static-pie:$lib/rcrt1.o;:$lib/crt1.o} $lib/crti.o %{static-pie:crtbeginS.o%s;:crtbeginT.o%s}

*endfile:
%{static-pie:crtendS.o%s;:crtend.o%s} $lib/crtn.o

*link:
-nostdlib %{static-pie:-static -pie --no-dynamic-linker -z text;:-static}
EOF
  mkdir -p "$musl_prefix/bin"
  printf '#!/bin/sh\nexec %s %s -static "$@" -specs %s\n' "$guest_cross-gcc" "$musl_cflags" "$lib/quivet.specs" >"$gcc"
  chmod +x "$gcc"
}

# glibc's soft-fp routines for double and float alone, with our machine header.
musl_softfp() {
  local sfp=$dir/softfp f
  mkdir -p "$sfp" && tar -xf "$dir"/glibc_*.orig.tar.* -C "$sfp" --strip-components=1 --wildcards \
    '*/soft-fp/*' '*/stdlib/longlong.h' || return 1
  cp "$guest_top/scripts/musl/sfp-machine.h" "$sfp/stdlib/longlong.h" "$sfp/soft-fp/"
  cd "$sfp/soft-fp" || return 1
  for f in $(ls | grep -E '^((add|sub|mul|div|neg|eq|ge|le|unord)(sf|df)[23]|fix(uns)?(sf|df)(si|di)|float(un)?(si|di)(sf|df)|extendsfdf2|truncdfsf2)\.c$'); do
    "$musl_prefix/bin/powerpc-musl-sf-gcc" -Os -Wall -Werror -I. -c "$f" || return 1
  done
  $guest_cross-ar rcs "$musl_prefix/lib/libsoftfp.a" ./*.o
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  set -uo pipefail
  musl_prefix || { echo "musl.sh: $guest_why" >&2; exit 1; }
  echo "$musl_prefix"
fi
