#!/usr/bin/env bash
# Builds the amd64 and powerpc Debian packages from the release presets,
# checks that the tool needs glibc alone, and runs lintian on each package:
# no error, no warning. Each package is built twice, in two folders, and must
# come out bit for bit the same; file times are the last commit's.
set -euo pipefail
cd "$(dirname "$0")/.."
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}

# The manual pages render without a warning; the file's page names every
# key the configuration reader accepts.
for man in docs/quivet_config.8 docs/quivet_config_check.8 docs/quivet.conf.5; do
  warnings=$(groff -t -man -Tutf8 -ww -z "$man" 2>&1)
  if [ -n "$warnings" ]; then
    echo "$man: $warnings" >&2
    exit 1
  fi
done
keys=$(sed -n 's/^ *{"\([A-Za-z_]*\)", Target::.*/\1/p' settings/config_line.h)
[ -n "$keys" ] || { echo "package: no configuration keys found in the reader" >&2; exit 1; }
for key in $keys; do
  grep -qw -- "$key" docs/quivet.conf.5 || { echo "docs/quivet.conf.5 does not describe the key $key" >&2; exit 1; }
done

# Hardening read off the binary, not the flags: stack protector and
# fortified calls imported, full RELRO, position independent.
hardened() {
  local elf want
  elf=$(objdump -T "$1" && readelf -hlWd "$1")
  for want in __stack_chk_fail '__[a-z]*_chk' GNU_RELRO BIND_NOW 'Type: *DYN'; do
    grep -q -- "$want" <<<"$elf" || { echo "$1 is not hardened: no $want" >&2; exit 1; }
  done
}

for preset in release ppc-release; do
  dir=build/$preset twin=build/$preset-twin
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  cmake --preset "$preset" -B "$twin" >/dev/null
  cmake --build "$twin" -j2 >/dev/null

  for program in quivet_config quivet_config_check; do
    needed=$(readelf -d "$dir/$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
    if [ "$needed" != "libc.so.6" ]; then
      echo "$preset: $program must need only libc.so.6, needs:" $needed >&2
      exit 1
    fi
    hardened "$dir/$program"
  done

  for d in "$dir" "$twin"; do
    rm -rf "$d/packages"
    cpack --config "$d/CPackConfig.cmake" -B "$d/packages" >/dev/null
  done
  for deb in "$dir"/packages/*.deb; do
    echo "== $deb"
    cmp "$deb" "$twin/packages/${deb##*/}" || { echo "$deb differs when built in $twin" >&2; exit 1; }
    dpkg-deb --field "$deb" Package Version Architecture Depends
    contents=$(dpkg-deb --contents "$deb")
    for file in sbin/quivet_config sbin/quivet_config_check man5/quivet.conf.5.gz man8/quivet_config_check.8.gz; do
      grep -q "/$file\$" <<<"$contents" || { echo "$deb lacks $file" >&2; exit 1; }
    done
    lintian --fail-on error,warning --display-info "$deb" | tee "$dir/lintian.log"
    ! grep hardening "$dir/lintian.log" || { echo "$deb: lintian finds it unhardened" >&2; exit 1; }
  done
done
echo "packages: ok"
