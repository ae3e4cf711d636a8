#!/bin/sh
# Builds the amd64 and powerpc Debian packages from the release presets,
# checks that the tool needs glibc alone, and runs lintian on each package.
set -eu
cd "$(dirname "$0")/.."

# The manual page renders without a warning and names every key the
# configuration reader accepts.
man=docs/quivet_config.8
warnings=$(groff -man -Tutf8 -ww -z "$man" 2>&1)
if [ -n "$warnings" ]; then
  echo "$man: $warnings" >&2
  exit 1
fi
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
    lintian --fail-on error --display-info "$deb"
  done
done
echo "packages: ok"
