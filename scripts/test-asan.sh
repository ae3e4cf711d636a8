#!/bin/sh
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer
# (preset asan) and runs the whole suite. Every sanitizer report aborts the
# process that made it, so it fails a test and this script.
set -eu
cd "$(dirname "$0")/.."
# Seen by the tests and the corpus replays; the e2e harness starts the tool
# with an environment of its own, where the built-in defaults apply.
export ASAN_OPTIONS="detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1"
export UBSAN_OPTIONS="print_stacktrace=1"
cmake --preset asan
cmake --build --preset asan
ctest --preset asan -j2
