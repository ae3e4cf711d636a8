#!/bin/sh
# Builds the amd64 and powerpc Debian packages from the release presets,
# checks that the tool needs glibc alone, and runs lintian on each package:
# no error, no warning.
set -eu
cd "$(dirname "$0")/.."

# Both manual pages render without a warning; the file's page names every
# key the configuration reader accepts.
for man in docs/quivet_config.8 docs/quivet.conf.5; do
  warnings=$(groff -t -man -Tutf8 -ww -z "$man" 2>&1)
  if [ -n "$warnings" ]; then
    echo "$man: $warnings" >&2
    exit 1
  fi
done
keys=$(sed -n 's/^ *{"\([A-Za-z_]*\)", Target::.*/\1/p' settings/config_reader.cpp)
[ -n "$keys" ] || { echo "package: no configuration keys found in the reader" >&2; exit 1; }
for key in $keys; do
  grep -qw -- "$key" "$man" || { echo "$man does not describe the key $key" >&2; exit 1; }
done

for preset in release ppc-release; do
  dir=build/$preset
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"

  needed=$(readelf -d "$dir/quivet_config" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
  if [ "$needed" != "libc.so.6" ]; then
    echo "$preset: quivet_config must need only libc.so.6, needs:" $needed >&2
    exit 1
  fi

  rm -rf "$dir/packages"
  cpack --config "$dir/CPackConfig.cmake" -B "$dir/packages" >/dev/null
  for deb in "$dir"/packages/*.deb; do
    echo "== $deb"
    dpkg-deb --field "$deb" Package Version Architecture Depends
    dpkg-deb --contents "$deb" | grep -q 'man5/quivet.conf.5.gz$' ||
      { echo "$deb lacks quivet.conf(5)" >&2; exit 1; }
    lintian --fail-on error,warning --display-info "$deb"
  done
done
echo "packages: ok"
