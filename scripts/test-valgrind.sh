#!/bin/sh
# Runs the end-to-end suite with every run of the tool under memcheck: any
# memory error or definite leak makes the tool exit 99 and its test fail.
# The e2e harness puts QUIVET_TOOL_WRAPPER before the tool.
set -eu
cd "$(dirname "$0")/.."
build=${VALGRIND_BUILD_DIR:-build/valgrind}

# The memcheck binary itself, not the valgrind launcher: the launcher is a
# dynamic program and would load the preloaded board in place of the tool.
for memcheck in /usr/libexec/valgrind /usr/lib/x86_64-linux-gnu/valgrind /usr/lib/valgrind ''; do
  [ -x "$memcheck/memcheck-amd64-linux" ] && break
done
[ -n "$memcheck" ] || { echo "test-valgrind.sh: memcheck not found (apt-get install valgrind)" >&2; exit 2; }
launcher=$(command -v valgrind.bin || command -v valgrind)

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
cmake --build "$build" -j2
# A harness that ignored the wrapper would pass without checking anything:
# one test run behind /bin/false must fail.
QUIVET_TOOL_WRAPPER=/bin/false ctest --test-dir "$build" -L e2e -I 1,1 >/dev/null 2>&1 &&
  { echo "test-valgrind.sh: the e2e harness does not honour QUIVET_TOOL_WRAPPER" >&2; exit 2; }
# Reports go to descriptor 9, which the harness opens on the run's stderr:
# some rows start the tool with descriptor 2 closed.
export QUIVET_TOOL_WRAPPER="VALGRIND_LAUNCHER=$launcher $memcheck/memcheck-amd64-linux -q --log-fd=9 \
--error-exitcode=99 --leak-check=full --errors-for-leak-kinds=definite --show-leak-kinds=definite --track-fds=no --num-callers=30"
ctest --test-dir "$build" -L e2e -j2 --output-on-failure --no-tests=error
