#!/bin/sh
# Builds the 32-bit PowerPC tree and runs every test under qemu-ppc.
set -eu
cd "$(dirname "$0")/.."
cmake --preset ppc
cmake --build --preset ppc
ctest --preset ppc
