#!/usr/bin/env bash
# A static, soft-float C library for every 32-bit PowerPC core, FPU or not:
# musl from Debian's source, built with Debian's cross gcc, and glibc's
# soft-float double and float helpers in lib/libsoftfp.a, which musl's
# driver file names ahead of libgcc (Debian's libgcc has hard-float ones).
# A cache entry (scripts/cache.sh) that names no path of its own, so it
# works wherever it lies: bin/powerpc-musl-sf-gcc compiles static soft-float
# C programs (make CC=<prefix>/bin/powerpc-musl-sf-gcc); a build that keeps
# its own compiler links with -B<prefix>/lib/ @<prefix>/lib/link.rsp.
#   scripts/musl.sh       builds it if needed, prints the prefix
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/cache.sh"
source "$here/sources.sh"

# Version of source package $2 in the lists in folder $1.
musl_version() {
  sources_apt "$1" source --print-uris "$2" 2>/dev/null | sed -n "s/.* $2_\(.*\)\.dsc .*/\1/p"
}

# Into folder $1, from lists $2, musl $3 and glibc $4 with CFLAGS $5, the
# machine header $6. Built and installed here, then copied: musl's build
# takes no blank in a path.
musl_build() {
  local dest=$1 lists=$2 musl=$3 glibc=$4 cflags=$5 sfp=$6 p=$PWD/prefix inc=/usr/powerpc-linux-gnu/include
  sources_apt "$lists" source "musl=$musl" && sources_apt "$lists" source --download-only "glibc=$glibc" &&
    (cd musl-*/ && ./configure --prefix="$p" --target=powerpc-linux-gnu --disable-shared CROSS_COMPILE=powerpc-linux-gnu- \
      CFLAGS="$cflags" && make -j"$(nproc)" && make install) || return 1
  dpkg-query -L linux-libc-dev-powerpc-cross | sed -n "s|^$inc/\([^/]*\)$|\1|p" | grep -v '^c++$' |
    (cd "$inc" && xargs cp -r -t "$p/include") || return 1
  # musl's wrapper and driver file name the prefix: ours find it through -B
  # ("-L .%s" is the first -B folder), then gcc's own folder.
  sed -n 's|.*"\$@" \([^ ]*\) ".*/\(.*\)"$|\1 \2|p' "$p/bin/musl-gcc" >"$p/lib/link.rsp" && rm "$p/bin/musl-gcc" &&
    sed -i -e "s|-L$p/lib \(.*\)|\1 -L$(dirname "$(powerpc-linux-gnu-gcc -print-libgcc-file-name)")|" \
      -e "s|$p/lib/\([^ }]*\)|\1%s|g" -e "s|$p/include|../include%s|" \
      -e 's|^libgcc\.a%s|-lsoftfp &|' "$p"/lib/musl-gcc.* &&
    printf '#!/bin/sh\np=$(dirname "$0")/..\nexec %s %s -static -B "$p/lib/" "$@" @"$p/lib/link.rsp"\n' \
      powerpc-linux-gnu-gcc "$cflags" >"$p/bin/powerpc-musl-sf-gcc" && chmod +x "$p/bin/powerpc-musl-sf-gcc" &&
    musl_softfp "$p" "$sfp" && cp -a "$p/." "$dest"
}

# glibc's soft-fp routines for double and float alone into prefix $1, with
# our machine header $2.
musl_softfp() {
  mkdir softfp && tar -xf glibc_*.orig.tar.* -C softfp --strip-components=1 --wildcards '*/soft-fp/*' '*/stdlib/longlong.h' &&
    cp "$2" softfp/stdlib/longlong.h softfp/soft-fp/ && cd softfp/soft-fp &&
    "$1/bin/powerpc-musl-sf-gcc" -Os -Wall -Werror -I. -c $(ls | grep -E \
      '^((add|sub|mul|div|neg|eq|ge|le|unord)(sf|df)[23]|fix(uns)?(sf|df)(si|di)|float(un)?(si|di)(sf|df)|extendsfdf2|truncdfsf2)\.c$') &&
    powerpc-linux-gnu-ar rcs "$1/lib/libsoftfp.a" ./*.o
}

for cmd in powerpc-linux-gnu-gcc dpkg-source xz; do
  command -v $cmd >/dev/null || { echo "musl.sh: $cmd missing: run scripts/deps.sh ppc" >&2 && exit 1; }
done
cflags="-msoft-float -mlong-double-64"
lists=$(sources_lists) || exit 1
musl=$(musl_version "$lists" musl) glibc=$(musl_version "$lists" glibc)
[ -n "$musl" ] && [ -n "$glibc" ] || { echo "musl.sh: no musl or glibc source in Debian's lists ($lists)" >&2 && exit 1; }
cache_entry musl "$(cache_key <(echo "$musl $glibc $cflags" && powerpc-linux-gnu-gcc --version && dpkg-query -W linux-libc-dev-powerpc-cross) \
  <(declare -f musl_build musl_softfp) "$here/musl/sfp-machine.h")" "soft-float musl $musl for PowerPC" \
  musl_build "$lists" "$musl" "$glibc" "$cflags" "$here/musl/sfp-machine.h"
