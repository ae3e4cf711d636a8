#!/bin/sh
# Builds the 32-bit PowerPC tree and runs every test under qemu-ppc.
#   scripts/test-ppc.sh [preset]     ppc (default) or ppc-static
set -eu
cd "$(dirname "$0")/.."
preset=${1:-ppc}
cmake --preset "$preset"
cmake --build --preset "$preset"
ctest --preset "$preset"
