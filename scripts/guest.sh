# Guests for the tool: a real kernel under qemu (TCG) whose serial line is
# the tool's terminal, the driver double behind /dev/quivet, real BusyBox and
# a read-only ext4 root. x86_64 boots Debian's packaged kernel; powerpc boots
# a kernel and a static BusyBox cross-built from Debian's own sources, cached
# (guest_entry) under ${XDG_CACHE_HOME:-~/.cache}/quivet-guest.
# Sourced by tests/system/run.sh and scripts/run.sh (bash):
#   guest_prepare ARCH WORK TOOL [CPU]
#                                 kernel, BusyBox and driver; WORK/root laid out;
#                                 CPU is qemu's powerpc core (default e500mc)
#   guest_disk IMG                WORK/root as an ext4 image
#   guest_boot IMG ro|rw          qemu on this terminal, stdin to the tool
#   guest_script IMG ro|rw KEYS OUT [UNTIL]
#                                 qemu with KEYS typed once the tool is up,
#                                 its serial output in OUT; guest_stop ends it
# A failing function leaves one line naming the step and its log in guest_why.

guest_top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# A relative XDG_CACHE_HOME is ignored, as the XDG base directory rules say:
# CMake, for one, runs musl.sh again from the build folder.
[[ ${XDG_CACHE_HOME:-} == /* ]] && guest_cache=$XDG_CACHE_HOME/quivet-guest || guest_cache=${HOME:-$(getent passwd "$(id -u)" | cut -d: -f6)}/.cache/quivet-guest
guest_cross=powerpc-linux-gnu
guest_sysroot=/usr/$guest_cross

guest_fail() {
  guest_why="$1${2:+ (log: $2)}"
  return 1
}

guest_key() {
  cat "$@" 2>/dev/null | sha256sum | cut -c1-16
}

guest_need() {
  local cmd
  for cmd in "$@"; do
    command -v "$cmd" >/dev/null || guest_fail "$cmd missing: run scripts/deps.sh system system-ppc" || return 1
  done
}

# guest_entry NAME KEY WHAT FUNCTION: $guest_entry is the cache folder
# NAME/KEY, complete or absent. FUNCTION fills a temporary folder next to it
# ($1), renamed into place once it succeeds; it works in a private folder
# under /tmp, as Kbuild and BusyBox take no blank in a path. One build of NAME
# at a time, its log in NAME/build.log. Entries unused for a week go.
guest_entry() {
  local dir=$guest_cache/$1 what=$3 build=$4 lock l w
  guest_entry=$dir/$2
  [ -d "$guest_entry" ] && touch "$guest_entry" && return
  mkdir -p "$dir" && exec {lock}>>"$dir/lock" || guest_fail "no cache folder $dir" || return 1
  flock -n "$lock" || { echo "Waiting for $what, being built by another process (log: $dir/build.log)" >&2 && flock "$lock"; }
  [ -d "$guest_entry" ] || {
    echo "Building $what (once; cached in $guest_entry)" >&2
    for l in "$guest_cache"/*/lock; do find "${l%/lock}" -mindepth 1 -maxdepth 1 -type d -mtime +6 -exec rm -rf {} +; done
    rm -rf "$guest_cache"/{linux,busybox,musl}-* "$guest_cache"/{apt,*.lock} # the layout before entries had folders
    # What a killed build of this name left: only the lock's holder builds.
    w=$(cat "$dir/work" 2>/dev/null) && [[ $w == /tmp/quivet.* ]] && rm -rf "$w"
    rm -rf "$dir"/*.tmp.*
    # In the background: a stopped run waits for what it started before removing its folders.
    (t=$(mktemp -d "$guest_entry.tmp.XXXXXX") && b=$(mktemp -d /tmp/quivet.XXXXXX) && echo "$b" >"$dir/work" &&
      trap 'wait; rm -rf "$t" "$b" "$dir/work"' EXIT &&
      cd "$b" && { "$build" "$t" & wait $!; } && mv -T "$t" "$guest_entry") >"$dir/build.log" 2>&1
  } || guest_fail "building $what failed" "$dir/build.log"
  set -- $?
  exec {lock}>&-
  return "$1"
}

# Debian's kernel source, configured by our fragments onto tinyconfig, kept
# per CPU: vmlinux, and what building a module against it takes, as one
# tree (as Debian's headers packages lay it out).
guest_build_kernel() {
  local fragments=("$guest_top"/scripts/guest/{powerpc,$guest_cpu}.config) version
  [ -r "${fragments[1]}" ] || guest_fail "no PowerPC guest for CPU '$guest_cpu'" || return 1
  version=$(dpkg-query -W -f='${Version}' linux-source-6.1 2>/dev/null) &&
    [ -r /usr/src/linux-source-6.1.tar.xz ] || guest_fail "linux-source-6.1 missing: run scripts/deps.sh system-ppc" || return 1
  guest_entry kernel-$guest_cpu "$(guest_key <(echo "$version") "${fragments[@]}" <($guest_cross-gcc --version) \
    <(declare -f guest_make_kernel guest_configure_kernel))" "the PowerPC $guest_cpu kernel" guest_make_kernel &&
    guest_kernel=$guest_entry/vmlinux guest_kbuild=$guest_entry/build
}

guest_make_kernel() {
  local make=(make -C linux-source-6.1 O="$PWD/out" ARCH=powerpc CROSS_COMPILE=$guest_cross-)
  tar -xJf /usr/src/linux-source-6.1.tar.xz && cp "${fragments[@]}" . && guest_configure_kernel &&
    "${make[@]}" -j"$(nproc)" vmlinux modules && cp out/vmlinux "$1/" && mkdir "$1/build" &&
    (cd linux-source-6.1 && find . arch/powerpc -maxdepth 1 -name 'Makefile*' && find include scripts arch/powerpc/include -type f) |
    tar -cf - -C linux-source-6.1 -T - | tar -xf - -C "$1/build" &&
    (cd out && find .config Module.symvers include scripts arch/powerpc/include arch/powerpc/lib/crtsavres.o -type f |
      tar -cf - -T -) | tar -xf - -C "$1/build"
}

guest_configure_kernel() {
  "${make[@]}" tinyconfig &&
    (cd linux-source-6.1 && ARCH=powerpc scripts/kconfig/merge_config.sh -m -O ../out ../out/.config ../powerpc.config "../$guest_cpu.config") &&
    "${make[@]}" olddefconfig || return 1
  local missing
  missing=$(cat "${fragments[@]}" | grep -E '^(CONFIG_|# CONFIG_.* is not set)' | grep -vxFf out/.config)
  [ -z "$missing" ] || { echo "did not stick: $missing"; return 1; }
}

# Debian's BusyBox source, the same version as the busybox-static the x86_64
# guest runs, built with Debian's own static configuration against the
# soft-float musl of scripts/musl.sh: one BusyBox for every PowerPC core.
guest_build_busybox() {
  local version musl
  version=$(dpkg-query -W -f='${source:Version}' busybox-static 2>/dev/null) ||
    guest_fail "busybox-static missing: run scripts/deps.sh system" || return 1
  musl=$("$guest_top/scripts/musl.sh") || guest_fail "scripts/musl.sh failed" || return 1
  guest_entry busybox "$(guest_key <(echo "$version $musl") <($guest_cross-gcc --version) \
    <(declare -f guest_make_busybox guest_apt guest_deb_src guest_fp_free))" "BusyBox for PowerPC" guest_make_busybox &&
    guest_bb=$guest_entry/busybox
}

# musl's regex is POSIX's alone: vi's search and grep's extras want GNU's.
# musl through a link here: BusyBox's dependency files take no blank either.
guest_make_busybox() {
  ln -s "$musl" musl && PATH=$PWD/musl/bin:$PATH && guest_apt "$PWD" && guest_apt "$PWD" source "busybox=$version" && cd busybox-*/ &&
    cat debian/config/os/linux debian/config/pkg/static |
    sed -E 's/^(CONFIG_(EXTRA_COMPAT|FEATURE_VI_REGEX_SEARCH))=y/# \1 is not set/' >.config &&
    { yes "" || true; } | make oldconfig &&
    make -j"$(nproc)" CROSS_COMPILE=$guest_cross- CC=powerpc-musl-sf-gcc busybox &&
    guest_fp_free busybox && cp busybox "$1/"
}

# apt-get on lists of source packages alone, kept in folder $1 (fetched by
# "guest_apt DIR" alone): the machine's own Debian entries as deb-src.
guest_apt() {
  local dir=$1
  shift
  [ $# -gt 0 ] || { mkdir -p "$dir/lists/partial" "$dir/parts" || return 1; guest_deb_src "$dir/parts"; set -- update; }
  apt-get -q -o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$dir/parts" -o Dir::State::Lists="$dir/lists" "$@"
}

guest_deb_src() {
  local codename f
  codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] && awk -v RS= -v ORS='\n\n' -v c="$codename" '
      $0 ~ /(^|\n)Types:[^\n]*deb([ \t\n]|$)/ && $0 ~ ("(^|\n)Suites:[^\n]*[ \t]" c "([ \t\n-]|$)") {
        sub(/Types:[^\n]*/, "Types: deb-src"); print }' "$f"
  done >"$1/debian-src.sources"
  cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
    awk -v c="$codename" '$1 == "deb" && $0 ~ (" " c "([ -]|$)") { $1 = "deb-src"; print }' >"$1/debian-src.list"
}

# Fails if ELF $1 holds a floating-point instruction, which a core without an
# FPU or its emulation traps, or if objdump fails. Each is listed with its
# function (its section, when stripped): any mnemonic that starts with f
# (arithmetic, moves, compares, conversions), lf or stf (loads and stores of
# f registers), mffs, mtfs* or mcrfs (the FP status register). musl's
# _start keeps a data word (_DYNAMIC's offset) after its first branch, at
# the entry point + 4: never run, whatever it decodes as.
guest_fp_free() (
  set -o pipefail
  data=$(printf '%x' $(($($guest_cross-readelf -h "$1" | awk '/Entry point/ { print $4 }') + 4))) &&
    $guest_cross-objdump -d "$1" | awk -F'\t' -v f="$1" -v data="$data:" '
    /^[0-9a-f]+ <.*>:$/ { fn = $0 }
    $3 ~ /^(f|lf|stf|mffs|mtfs|mcrfs)/ && $1 !~ "^ *" data "$" { print fn " " $0; n++ }
    END { print n + 0 " floating-point instructions in " f; exit fn == "" || n > 0 }'
)

# The loader and libraries that dynamic ELF $1 asks for, as paths in the guest.
guest_libs() {
  readelf -l "$1" 2>/dev/null | grep -q 'program interpreter' || return 0
  if [ "$guest_arch" = powerpc ]; then
    qemu-ppc -L "$guest_sysroot" -E LD_TRACE_LOADED_OBJECTS=1 "$1" </dev/null
  else
    ldd "$1"
  fi | grep -o '/[^ ]*'
}

guest_install() {
  local lib root=$guest_work/root sysroot
  sysroot=$([ "$guest_arch" = powerpc ] && echo "$guest_sysroot" || echo /)
  cp "$1" "$root/$2"
  for lib in $(guest_libs "$1"); do
    (cd "$sysroot" && cp -L --parents ".$lib" "$root") || return 1
  done
}

guest_prepare() {
  guest_arch=$1 guest_work=$2 guest_cpu=${4:-e500mc}
  local tool=$3 kver a ko
  mkdir -p "$guest_work"/root/{bin,etc,proc,dev}
  case $guest_arch in
    x86_64)
      guest_need qemu-system-x86_64 busybox mke2fs debugfs modprobe || return 1
      kver=$(dpkg-query -W -f='${Depends}' linux-image-amd64 2>/dev/null | sed -n 's/^linux-image-\([^ ,]*\).*/\1/p')
      [ -n "$kver" ] && [ -r "/boot/vmlinuz-$kver" ] && [ -d "/lib/modules/$kver/build" ] ||
        guest_fail "no kernel or headers: run scripts/deps.sh system" || return 1
      guest_kernel=/boot/vmlinuz-$kver guest_kbuild=/lib/modules/$kver/build
      guest_bb=$(command -v busybox)
      guest_qemu=(qemu-system-x86_64 -cpu max)
      guest_append="console=ttyS0"
      guest_make=()
      ;;
    powerpc)
      guest_need qemu-system-ppc qemu-ppc $guest_cross-gcc mke2fs debugfs flex bison bc || return 1
      guest_build_kernel && guest_build_busybox || return 1
      guest_qemu=(qemu-system-ppc -M ppce500 -cpu "$guest_cpu")
      guest_append="console=ttyS0 root=/dev/vda rootfstype=ext4 ro init=/init"
      guest_make=(ARCH=powerpc CROSS_COMPILE=$guest_cross-)
      ;;
    *) guest_fail "no guest for '$guest_arch' (x86_64 or powerpc)"; return 1 ;;
  esac

  guest_entry double "$(guest_key <(echo "$guest_kbuild") "$guest_kbuild/Module.symvers" "$guest_top/tests/system/quivet_double.c" \
    <(declare -f guest_make_double))" "the driver double for this kernel" guest_make_double &&
    cp "$guest_entry/quivet_double.ko" "$guest_work/root/" || return 1

  guest_install "$guest_bb" bin/busybox &&
    guest_install "$tool" bin/quivet_config || guest_fail "copying the tool and its libraries" || return 1
  for a in $(guest_host_run "$guest_bb" --list); do ln -s busybox "$guest_work/root/bin/$a" 2>/dev/null; done
  cp "$guest_top/tests/system/init" "$guest_work/root/"

  # Debian's kernel has virtio and ext4 as modules: an initramfs loads them.
  guest_initrd=
  [ "$guest_arch" = x86_64 ] || return 0
  mkdir -p "$guest_work/initrd/modules" "$guest_work/initrd/bin"
  cp "$guest_bb" "$guest_work/initrd/bin/busybox"
  cp "$guest_top/tests/system/init" "$guest_work/initrd/init"
  modprobe -S "$kver" -a --show-depends virtio_pci virtio_blk ext4 | awk '$1 == "insmod" && !seen[$2]++ { print $2 }' |
    while read -r ko; do cp "$ko" "$guest_work/initrd/modules/" && basename "$ko" >>"$guest_work/initrd/modules/order"; done
  guest_initrd=$guest_work/initrd.cpio
  (cd "$guest_work/initrd" && find . | "$guest_bb" cpio -o -H newc 2>/dev/null) >"$guest_initrd"
}

# The PowerPC kernel's tree is copied here: its path may hold a blank.
guest_make_double() {
  cp "$guest_top/tests/system/quivet_double.c" . && echo 'obj-m := quivet_double.o' >Kbuild &&
    { [ "$guest_arch" = x86_64 ] || { cp -a "$guest_kbuild" kbuild && guest_kbuild=$PWD/kbuild; }; } &&
    make -C "$guest_kbuild" "${guest_make[@]}" M="$PWD" modules && cp quivet_double.ko "$1/"
}

# Runs a guest binary on this machine (BusyBox's applet list).
guest_host_run() {
  if [ "$guest_arch" = powerpc ]; then qemu-ppc "$@"; else "$@"; fi
}

guest_disk() {
  rm -f "$1"
  mke2fs -q -t ext4 -d "$guest_work/root" "$1" 24M >/dev/null
}

guest_qemu_line() {
  guest_line=("${guest_qemu[@]}" -nodefaults -display none -no-reboot -m 256
    -chardev stdio,id=tty,signal=off -serial chardev:tty -kernel "$guest_kernel"
    ${guest_initrd:+-initrd "$guest_initrd"}
    -append "$guest_append quiet loglevel=0 panic=-1"
    -drive "file=$1,format=raw,if=virtio,readonly=$([ "$2" = ro ] && echo on || echo off)")
}

guest_boot() {
  guest_qemu_line "$@"
  "${guest_line[@]}"
}

# Waits up to $2 seconds for $1 in the output (for qemu's end when $1 is empty).
guest_await() {
  local until=$((SECONDS + $2))
  until { [ -n "$1" ] && grep -aq -- "$1" "$guest_out"; } || ! kill -0 "$guest_pid" 2>/dev/null; do
    [ $SECONDS -ge "$until" ] && return 1
    sleep 0.2
  done
  [ -z "$1" ] || grep -aq -- "$1" "$guest_out"
}

# Ends the guest guest_script started, if it still runs (for EXIT traps).
guest_stop() {
  [ -z "${guest_pid:-}" ] || { kill -9 "$guest_pid" && wait "$guest_pid"; } 2>/dev/null || true
  guest_pid=
}

guest_script() {
  local img=$1 disk=$2 keys=$3 until=${5:-} fifo=$4.in
  guest_out=$4
  guest_why=
  guest_qemu_line "$img" "$disk"
  rm -f "$fifo"
  mkfifo "$fifo"
  : >"$guest_out"
  "${guest_line[@]}" <"$fifo" >"$guest_out" 2>&1 &
  guest_pid=$!
  exec {guest_fd}<>"$fifo"
  guest_await QUIVET-READY 120 && printf '%b' "$keys" >&$guest_fd || guest_why+="no boot; "
  guest_await "$until" 120 || guest_why+="timed out; "
  guest_stop
  exec {guest_fd}>&-
  rm -f "$fifo"
  [ -z "$guest_why" ]
}
