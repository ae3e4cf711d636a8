#!/usr/bin/env bash
# Formatting and static checks; needs the native build's compile database.
set -euo pipefail
cd "$(dirname "$0")/.."

mapfile -t sources < <(git ls-files '*.cpp' '*.h' '*.c')
clang-format --dry-run -Werror "${sources[@]}"

[ -f build/native/compile_commands.json ] || cmake --preset native >/dev/null
mapfile -t tool < <(git ls-files 'app/*.cpp' 'settings/*.cpp' 'device/*.cpp' 'menus/*.cpp' 'platform/*.cpp' 'checker/*.cpp')
# Every check is an error (.clang-tidy): a clean run has nothing to show.
report=$(clang-tidy -p build/native --quiet "${tool[@]}" 2>&1) || { grep -v "warnings generated" <<<"$report"; exit 1; }
echo "lint: clean"
