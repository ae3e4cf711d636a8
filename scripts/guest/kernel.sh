#!/usr/bin/env bash
# The PowerPC guests' kernel for qemu's ppce500 machine and one core (qemu's
# -cpu): Debian's linux-source-6.1 on tinyconfig with the fragments beside
# this script, powerpc.config then CORE.config, cached (scripts/cache.sh):
# vmlinux, and build/, what building a module against it takes, as Debian's
# headers packages lay it out.
#   scripts/guest/kernel.sh CORE      prints the entry's folder
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../cache.sh"

kernel_kbuild() {
  make -C linux-source-6.1 O="$PWD/out" ARCH=powerpc CROSS_COMPILE=powerpc-linux-gnu- "$@"
}

# Into folder $1, the fragments $2... merged by the kernel's merge_config.sh,
# then olddefconfig; the build fails if a line of one did not stick.
kernel_make() {
  local dest=$1 missing
  shift
  tar -xJf /usr/src/linux-source-6.1.tar.xz && cat "$@" >guest.config && kernel_kbuild tinyconfig &&
    (cd linux-source-6.1 && ARCH=powerpc scripts/kconfig/merge_config.sh -m -O ../out ../out/.config ../guest.config) &&
    kernel_kbuild olddefconfig || return 1
  missing=$(grep -E '^(CONFIG_|# CONFIG_.* is not set)' guest.config | grep -vxFf out/.config)
  [ -z "$missing" ] || { echo "did not stick: $missing" && return 1; }
  kernel_kbuild -j"$(nproc)" vmlinux modules && cp out/vmlinux "$dest/" && mkdir "$dest/build" &&
    (cd linux-source-6.1 && find . arch/powerpc -maxdepth 1 -name 'Makefile*' && find include scripts arch/powerpc/include -type f) |
    tar -cf - -C linux-source-6.1 -T - | tar -xf - -C "$dest/build" &&
    (cd out && find .config Module.symvers include scripts arch/powerpc/include arch/powerpc/lib/crtsavres.o -type f |
      tar -cf - -T -) | tar -xf - -C "$dest/build"
}

core=${1:-}
[ -r "$here/$core.config" ] || { echo "no PowerPC guest for core '$core'" >&2 && exit 1; }
for cmd in powerpc-linux-gnu-gcc flex bison bc; do
  command -v $cmd >/dev/null || { echo "$cmd missing: run scripts/deps.sh system-ppc" >&2 && exit 1; }
done
version=$(dpkg-query -W -f='${Version}' linux-source-6.1 2>/dev/null) && [ -r /usr/src/linux-source-6.1.tar.xz ] ||
  { echo "linux-source-6.1 missing: run scripts/deps.sh system-ppc" >&2 && exit 1; }
cache_entry "kernel-$core" "$(cache_key <(echo "$version") "$here"/{powerpc,"$core"}.config <(powerpc-linux-gnu-gcc --version) \
  <(declare -f kernel_kbuild kernel_make))" "the PowerPC $core kernel" kernel_make "$here"/{powerpc,"$core"}.config
