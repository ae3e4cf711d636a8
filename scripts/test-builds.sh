#!/usr/bin/env bash
# The builds a packager makes without the presets, warnings left as warnings:
# Debian's own hardened build (native and PowerPC, where a warning fails),
# gcc Release, no build type (what Debug builds, less -g) and clang Release, each with its tests
# run (a compiler can break what another builds right). Then both static
# releases, which must load nothing at run time.
# Warnings are printed, fatal only in Debian's build. QUIVET_PLAIN_DIR
# (default build/plain).
set -eu
cd "$(dirname "$0")/.."
scripts/deps.sh build ppc check package
root=${QUIVET_PLAIN_DIR:-build/plain}
mkdir -p "$root"

build() { # log name, then cmake --build arguments
  log=$root/$1.log
  shift
  cmake --build "$@" -j2 >"$log" 2>&1 || { cat "$log" && exit 1; }
  grep -E 'warning:' "$log" | sort -u || true
}

plain() { # name, then configure arguments
  name=$1
  shift
  echo "== $name"
  cmake -S . -B "$root/$name" "$@" >/dev/null
  build "$name" "$root/$name"
  ctest --test-dir "$root/$name" -j2 --no-tests=error --output-on-failure >"$root/$name.test.log" 2>&1 ||
    { tail -n 40 "$root/$name.test.log" && exit 1; }
  # Indented: test.sh counts the suite once, from its own stages.
  grep -E 'tests passed' "$root/$name.test.log" | sed 's/^/  /'
}

# Debian's packager: dpkg-buildflags' hardened flags on build type None, as
# its cmake helper builds, natively and for PowerPC; not one warning.
packager() { # name, Debian architecture, then configure arguments
  name=$1 arch=$2
  shift 2
  flags() { DEB_BUILD_MAINT_OPTIONS=hardening=+all DEB_HOST_ARCH=$arch dpkg-buildflags --get "$1"; }
  CFLAGS="$(flags CFLAGS) $(flags CPPFLAGS)" CXXFLAGS="$(flags CXXFLAGS) $(flags CPPFLAGS)" \
    LDFLAGS=$(flags LDFLAGS) plain "$name" -DCMAKE_BUILD_TYPE=None "$@"
  ! grep -q 'warning:' "$root/$name.log" || { echo "$name: a packager's build must not warn" >&2 && exit 1; }
}

packager debian-amd64 amd64
packager debian-powerpc powerpc -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-powerpc.cmake
plain gcc-release -DCMAKE_BUILD_TYPE=Release
plain gcc-default
plain clang-release -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++

for preset in static ppc-static; do
  echo "== $preset"
  cmake --preset "$preset" >/dev/null
  build "$preset" --preset "$preset" --target quivet_config
  tool=build/$preset/quivet_config
  # No loader, no shared library: runs whatever C library the host has.
  ! readelf -lW "$tool" | grep -q INTERP && ! readelf -dW "$tool" | grep -q NEEDED ||
    { echo "$tool is not statically linked" >&2 && exit 1; }
  size "$tool" | tail -n 1
done

# The PowerPC static tool runs on every core only if it holds no
# floating-point instruction, shipped (stripped) or not (the copy kept with
# its symbols names the functions). A double in a static soft-float program
# takes glibc's soft-float helpers, not libgcc's hard-float ones: a probe
# must hold none either and compute on a core without an FPU as this machine does.
musl=$(scripts/musl.sh)
"$musl/bin/powerpc-musl-sf-gcc" -O2 -o "$root/fp_probe" tests/fp_probe.c
cc -O2 -o "$root/fp_probe.native" tests/fp_probe.c
scripts/fp-free.sh build/ppc-static/quivet_config.sym build/ppc-static/quivet_config "$root/fp_probe"
diff <("$root/fp_probe.native") <(qemu-ppc -cpu e500v2 "$root/fp_probe")
echo "builds: ok"
