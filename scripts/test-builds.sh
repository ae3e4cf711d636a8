#!/bin/sh
# The builds a packager makes without the presets, warnings left as warnings:
# Debian's own hardened build (native and PowerPC, where a warning fails),
# gcc Release, no build type, Debug and clang Release, each with its tests
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
  if ! cmake --build "$@" -j2 >"$log" 2>&1; then
    cat "$log"
    exit 1
  fi
  grep -E 'warning:' "$log" | sort -u || true
}

plain() { # name, then configure arguments
  name=$1
  shift
  echo "== $name"
  cmake -S . -B "$root/$name" "$@" >/dev/null
  build "$name" "$root/$name"
  if ! ctest --test-dir "$root/$name" -j2 --output-on-failure >"$root/$name.test.log" 2>&1; then
    tail -n 40 "$root/$name.test.log"
    exit 1
  fi
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
  if grep -q 'warning:' "$root/$name.log"; then
    echo "$name: a packager's build must not warn" >&2
    exit 1
  fi
}

packager debian-amd64 amd64
packager debian-powerpc powerpc -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-powerpc.cmake
plain gcc-release -DCMAKE_BUILD_TYPE=Release
plain gcc-default
plain gcc-debug -DCMAKE_BUILD_TYPE=Debug
plain clang-release -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++

for preset in static ppc-static; do
  echo "== $preset"
  cmake --preset "$preset" >/dev/null
  build "$preset" --preset "$preset" --target quivet_config
  tool=build/$preset/quivet_config
  # No loader, no shared library: runs whatever C library the host has.
  if readelf -lW "$tool" | grep -q INTERP || readelf -dW "$tool" | grep -q NEEDED; then
    echo "$tool is not statically linked" >&2
    exit 1
  fi
  size "$tool" | tail -n 1
done

# The PowerPC static tool runs on cores without an FPU only if it holds no
# floating-point instruction. Those are the mnemonics that start with f
# (arithmetic, moves, compares, conversions), lf and stf (loads and stores of
# f registers) and mffs, mtfs*, mcrfs (the FP status register). A word that a
# bl jumps over is data, not run (musl's _start keeps an offset there). The
# functions come from the copy kept before stripping, checked to be the same code.
tool=build/ppc-static/quivet_config
powerpc-linux-gnu-objcopy -O binary -j .text "$tool" "$root/stripped.text"
powerpc-linux-gnu-objcopy -O binary -j .text "$tool.sym" "$root/sym.text"
cmp "$root/sym.text" "$root/stripped.text" || { echo "$tool.sym is not the code of $tool" >&2; exit 1; }
powerpc-linux-gnu-objdump -d "$tool.sym" | awk -F'\t' '
  /^[0-9a-f]+ <.*>:$/ { fn = $0 }
  NF < 3 { next }
  { at = $1; gsub(/[ :]/, "", at) }
  held != "" { if (at != skip) { print held; n++ } held = "" }
  $3 ~ /^(f|lf|stf|mffs|mtfs|mcrfs)/ { if (bl != "") { held = fn " " $0; skip = bl } else { print fn " " $0; n++ } }
  { split($3, w, / +/); bl = w[1] == "bl" ? w[2] : "" }
  END { if (held != "") { print held; n++ } print n + 0 " floating-point instructions in the PowerPC static tool"; exit n > 0 }'
echo "builds: ok"
