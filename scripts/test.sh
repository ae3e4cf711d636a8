#!/usr/bin/env bash
# Every test: native suite, plain and static builds, the release tool
# (dynamic and static) booted on real x86-64 and PowerPC kernels under qemu,
# the static one also on an e500v2 kernel, a PowerPC core without an FPU,
# the same suite for 32-bit PowerPC under qemu-user (dynamic and static), the
# static tool's end-to-end rows on cores without an FPU (e500v2, MPC8xx), a
# session on a core of each PowerPC family, sanitizers, valgrind, fuzz
# replays and short fuzz runs, lint, performance budgets and the packages.
# Installs what is missing first.
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh build run ppc check package system system-ppc || exit 1

passed=0
failed=0
failures=()
# Every stage's temporary files go into one folder, removed at the end, Ctrl-C
# included; kept after a failure, for the logs the failing stage names.
export TMPDIR
TMPDIR=$(mktemp -d)
log=$TMPDIR/stage.log
# The PowerPC kernels take minutes; the stages that run one qemu at a time
# leave a core idle, so they are built meanwhile at the lowest priority. A
# stage that boots one waits for its build to end.
(renice -n 19 -p $BASHPID && source scripts/guest.sh && for guest_cpu in e500mc e500v2; do
  guest_build_kernel; done) >"$TMPDIR/kernels.log" 2>&1 &
kernels=$!
trap 'kill $kernels 2>/dev/null; [ ${#failures[@]} -ne 0 ] || rm -rf "$TMPDIR"' EXIT

# Adds up each suite's own counts so the last line covers every suite.
count_ctest() {
  local log=$1 line
  line=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  if [ -n "$line" ]; then
    local f total
    f=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
    total=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$line")
    passed=$((passed + total - f))
    failed=$((failed + f))
  fi
  # The system stage closes with a plain "N passed, M failed".
  line=$(grep -E '^[0-9]+ passed, [0-9]+ failed$' "$log" | tail -n 1)
  if [ -n "$line" ]; then
    passed=$((passed + ${line%% *}))
    failed=$((failed + $(sed -E 's/.* ([0-9]+) failed$/\1/' <<<"$line")))
  fi
}

stage() {
  local name=$1 start=$SECONDS
  shift
  echo "=== $name"
  if "$@" 2>&1 | tee "$log"; then
    echo "=== $name: ok ($((SECONDS - start)) s)"
  else
    echo "=== $name: FAILED ($((SECONDS - start)) s)"
    failures+=("$name")
  fi
  count_ctest "$log"
}

native() {
  cmake --preset native >/dev/null && cmake --build --preset native && ctest --preset native
}

stage native native
stage builds scripts/test-builds.sh
stage system tests/system/run.sh
stage system-static tests/system/run.sh build/static/quivet_config
stage system-ppc tests/system/run.sh --arch powerpc
stage system-stale tests/system/stale.sh
stage system-ppc-static tests/system/run.sh --arch powerpc build/ppc-static/quivet_config
stage ppc scripts/test-ppc.sh
stage ppc-static scripts/test-ppc.sh ppc-static
stage ppc-static-e500v2 env QUIVET_E2E_CPU=e500v2 ctest --preset ppc-static -L e2e -j2
stage ppc-static-mpc8xx env QUIVET_E2E_CPU=mpc8xx ctest --preset ppc-static -L e2e -j2
# A short session on one core per PowerPC family (docs/host.md): the static
# tool on every one, the dynamic one where the core has a classic FPU.
for cpu in 603e 604 750 7450 e300c3 e500v1 e500mc 405gp 440epx; do
  stage "ppc-static-$cpu" env QUIVET_E2E_CPU=$cpu ctest --preset ppc-static -R 'Readme|every_current_key$'
  [[ $cpu =~ e500v1|405gp ]] || stage "ppc-$cpu" env QUIVET_E2E_CPU=$cpu ctest --preset ppc -R 'Readme|every_current_key$'
done
stage asan scripts/test-asan.sh
stage valgrind scripts/test-valgrind.sh
stage fuzz scripts/fuzz.sh "${QUIVET_FUZZ_SECONDS:-30}"
stage lint scripts/lint.sh
stage bench scripts/bench.sh
stage package scripts/package.sh
# Last: its kernel is built while the stages before it run.
stage system-ppc-e500v2 tests/system/run.sh --arch powerpc --cpu e500v2 build/ppc-static/quivet_config

echo
if [ ${#failures[@]} -ne 0 ]; then
  echo "failed stages: ${failures[*]}"
  [ "$failed" -eq 0 ] && failed=${#failures[@]}
fi
echo "tests: $passed passed, $failed failed"
[ ${#failures[@]} -eq 0 ]
