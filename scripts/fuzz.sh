#!/bin/sh
# Builds the libFuzzer targets with clang and runs each in turn, on one core,
# for a bounded time (default 60 s each), starting from the kept corpora.
# New inputs go to the build folder, never into fuzz/corpus; a finding stops
# that target, leaves its input as <build>/crash-* and fails the script.
#   scripts/fuzz.sh [seconds]          0 = no time limit
#   FUZZ_FLAGS=-runs=10000000 scripts/fuzz.sh 0     the long run
#   FUZZ_BUILD_DIR (default build/fuzz), FUZZ_TARGETS (default all three)
set -eu
cd "$(dirname "$0")/.."
seconds=${1:-60}
build=${FUZZ_BUILD_DIR:-build/fuzz}
targets=${FUZZ_TARGETS:-config_line fine_tune_list session}

command -v clang++ >/dev/null ||
  { echo "fuzz.sh: clang++ not found (apt-get install clang libclang-rt-14-dev)" >&2; exit 2; }
cmake -S . -B "$build" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUIVET_FUZZ=ON -DQUIVET_BUILD_TESTS=OFF \
  -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
for t in $targets; do
  cmake --build "$build" -j2 --target "fuzz_$t" >/dev/null
done

# Every key the reader knows, taken from its table so it never goes stale;
# the session target's separator between file and keystrokes.
dict=$build/quivet.dict
keys=$(sed -n 's/.*{"\([A-Za-z_]*\)", Target::.*/"\1="/p' settings/config_line.h)
[ "$(printf "%s\n" "$keys" | wc -l)" -ge 31 ] || { echo "fuzz.sh: the reader's key table was not found" >&2; exit 1; }
printf '%s\n' "$keys" '"f_tune=\""' '"\xff\xfe"' >"$dict"

status=0
for t in $targets; do
  mkdir -p "$build/corpus/$t"
  echo "== fuzz_$t"
  # shellcheck disable=SC2086 # FUZZ_FLAGS is a list of flags
  "$build/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=10 -dict="$dict" \
    -artifact_prefix="$build/" -print_final_stats=1 ${FUZZ_FLAGS:-} \
    "$build/corpus/$t" "fuzz/corpus/$t" 2>"$build/fuzz_$t.log" || status=1
  grep -E 'cov: ' "$build/fuzz_$t.log" | tail -n 1
  grep -E '^Done|^stat::number_of_executed_units|ERROR|property failed|runtime error' \
    "$build/fuzz_$t.log" || true
done
exit $status
