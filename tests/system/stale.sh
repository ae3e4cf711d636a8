#!/usr/bin/env bash
# The system stage tests the sources as they are, never a binary built
# earlier: in a scratch copy of the tracked tree the save case passes on the
# powerpc guest, then fails once the success message is changed, with no
# rebuild by hand in between.
set -uo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL powerpc stale: $*"; echo "0 passed, 1 failed"; exit 1; }

git -C "$top" ls-files -z | tar -C "$top" --null --ignore-failed-read -T - -cf - | tar -C "$scratch" -xf - ||
  fail "no copy of the tree"
mkdir "$scratch/tmp"
save() { # the save case alone, its work folder inside the scratch copy
  TMPDIR=$scratch/tmp QUIVET_SYSTEM_CASES=save "$scratch/tests/system/run.sh" --arch powerpc >"$scratch/$1.log" 2>&1
}

save before
grep -qx '1 passed, 0 failed' "$scratch/before.log" || fail "the save case fails as it is: $(grep -m1 FAIL "$scratch/before.log")"
sed -i 's/Quivet successfully configured\./Quivet successfully configured!/' "$scratch/app/main_menu.cpp"
grep -q 'configured!' "$scratch/app/main_menu.cpp" || fail "the success message is not in app/main_menu.cpp"
save after
grep -qF "screen lacks 'Quivet successfully configured.'" "$scratch/after.log" ||
  fail "the save case still passes with the message changed: $(tail -n 1 "$scratch/after.log")"
echo "ok   powerpc stale: a changed message fails the save case, no rebuild by hand"
echo "1 passed, 0 failed"
