#!/usr/bin/env bash
# Every test, stage by stage (docs/testing.md); each stage builds what it
# tests. Installs what is missing first.
#   scripts/test.sh            every stage, then "tests: N passed, M failed"
#                              and "; stages failed: ..." if any did
#   scripts/test.sh NAME...    those stages alone
#   scripts/test.sh --list     the stage names
set -uo pipefail
cd "$(dirname "$0")/.."

# Name, then the command bash runs for it.
stages=(
  "native build native && ctest --preset native"
  "builds scripts/test-builds.sh"
  "system tests/system/run.sh"
  "system-static tests/system/run.sh --preset static"
  "ppc build ppc && ctest --preset ppc"
  "ppc-static build ppc-static && ctest --preset ppc-static"
  "ppc-static-e500v2 fpuless e500v2"
  "ppc-static-mpc8xx fpuless mpc8xx"
  "ppc-cores cores"
  "asan build asan && ctest --preset asan -j2"
  "valgrind scripts/test-valgrind.sh"
  "fuzz scripts/fuzz.sh ${QUIVET_FUZZ_SECONDS:-30}"
  "lint scripts/lint.sh"
  "bench scripts/bench.sh"
  "package scripts/package.sh"
  # Last: their kernels and BusyBox are built while the stages before them run.
  "system-ppc tests/system/run.sh --arch powerpc"
  "system-ppc-static tests/system/run.sh --arch powerpc --preset ppc-static"
  "system-ppc-e500v2 tests/system/run.sh --arch powerpc --cpu e500v2"
)
[ "${1:-}" = --list ] && { printf '%s\n' "${stages[@]%% *}"; exit 0; }
for name in "$@"; do [[ " ${stages[*]%% *} " == *" $name "* ]] || { echo "test.sh: no stage '$name' (see --list)" >&2; exit 2; }; done
names=" ${*:-${stages[*]%% *}} "
scripts/deps.sh build run ppc check package system system-ppc || exit 1

build() { cmake --preset "$1" >/dev/null && cmake --build --preset "$1"; }

# The hard-float release on the board under qemu's model $1, with no mount
# to find: a core without an FPU must end it with SIGILL (status 132), or the
# passes on that core prove nothing.
sigill() {
  { QUIVET_VBOARD_DIR=$(mktemp -d) env -C build/ppc-release/vboard qemu-ppc -cpu "$1" -L /usr/powerpc-linux-gnu \
    -E LD_PRELOAD=./libquivet_vboard.so -E PATH=/nonexistent ../quivet_config; } </dev/null >/dev/null 2>&1; set -- "$1" $?
  [ "$2" = 132 ] && echo "ok   hard-float release on $1: SIGILL" || { echo "FAIL hard-float release on $1: status $2, not SIGILL's 132"; return 1; }
}

# The static tool's end-to-end rows on a core without an FPU.
fpuless() { build ppc-static && build ppc-release && sigill "$1" && QUIVET_E2E_CPU=$1 ctest --preset ppc-static -L e2e -j2; }

# A short session on one core per PowerPC family (docs/host.md): the static
# tool on every one, the dynamic one where the core has a classic FPU, its
# SIGILL where it has none. Each run must run both rows it names.
cores() {
  local cpu preset ok=0
  build ppc-static && build ppc && build ppc-release || return 1
  for cpu in 603e 604 750 7450 e300c3 e500v1 e500mc 405gp 440epx; do
    [[ $cpu != @(e500v1|405gp) ]] || sigill $cpu || ok=1
    for preset in ppc-static $([[ $cpu = @(e500v1|405gp) ]] || echo ppc); do
      echo "== $preset on $cpu"
      QUIVET_E2E_CPU=$cpu ctest --preset $preset -R '^Readme[.]|every_current_key$' | tee "$TMPDIR/core.log" &&
        grep -q 'failed out of 2$' "$TMPDIR/core.log" || { echo "FAIL $preset on $cpu: not both rows passed"; ok=1; }
    done
  done
  return $ok
}

# Every stage's temporary files and its output go into one folder, removed
# at the end unless a stage failed.
export TMPDIR
TMPDIR=$(mktemp -d) failures=()
# Each stage, and the kernel builds, run in a process group of their own,
# which every exit ends. A stage is waited on in the background, so that a
# signal reaches the trap at once.
spawn() { set -m; "$@" </dev/null & set +m; }
# SIGTERM first, so that ninja and make end the jobs they put in groups of
# their own and a cache build removes its folders; SIGKILL after 5 s.
stop() {
  local g i
  g=$(jobs -rp | sed "s/^/-/") && [ -n "$g" ] || return 0
  kill -TERM $g
  for i in {1..10}; do kill -0 $g 2>/dev/null || return 0; sleep 0.5; done
  kill -KILL $g
}
trap 'exec 2>/dev/null; stop; [ ${#failures[@]} -ne 0 ] || rm -rf "$TMPDIR"' EXIT
trap 'exit 143' TERM; trap 'exit 130' INT

# The PowerPC kernels take minutes; the stages that run one qemu at a time
# leave a core idle, so they and BusyBox are built meanwhile at the lowest
# priority, raised once the stages left wait for them.
[[ ! $names =~ \ system-ppc ]] || spawn bash -c 'renice -n 19 -p $$ >/dev/null &&
  scripts/guest/kernel.sh e500mc; scripts/guest/busybox.sh; scripts/guest/kernel.sh e500v2' >"$TMPDIR/guests.log" 2>&1

for line in "${stages[@]}"; do
  name=${line%% *} start=$SECONDS
  [[ $names == *" $name "* ]] || continue
  echo "=== $name"
  [[ $name != system-ppc* || -z $(jobs -rp) ]] || { renice -n 0 -g $(jobs -rp) >/dev/null 2>&1
    echo "(if its kernel or BusyBox is still being built, it waits: $TMPDIR/guests.log)"; }
  spawn eval "{ ${line#* }; } 2>&1 | tee -a \"\$TMPDIR/all.log\""
  wait $! && result=ok || { result=FAILED; failures+=("$name"); }
  echo "=== $name: $result ($((SECONDS - start)) s)"
done

# Every suite's counts: ctest's summaries and the system stages' "N passed, M failed".
read -r passed failed < <(awk '/^[0-9]+% tests passed, [0-9]+ tests? failed out of/ { p += $NF - $4; f += $4 }
  /^[0-9]+ passed, [0-9]+ failed$/ { p += $1; f += $3 } END { print p + 0, f + 0 }' "$TMPDIR/all.log")
printf '\ntests: %s passed, %s failed%s\n' "$passed" "$failed" "${failures[*]:+; stages failed: ${failures[*]}}"
[ ${#failures[@]} -eq 0 ]
