#!/usr/bin/env bash
# Performance budgets of the release build, measured on the virtual board:
#   start-up instructions against a floor program, instructions per screen
#   over a scripted session, text size (x86-64, PowerPC, PowerPC static),
#   heap blocks and peak resident set. Prints a table; fails when a budget is broken.
# The tool never runs bare: the board is preloaded and a `mount` that
# refuses stands first on PATH.
set -euo pipefail
cd "$(dirname "$0")/.."

ROUNDS=${QUIVET_BENCH_ROUNDS:-30}
MIN_SCREENS=2000
STARTUP_RATIO_MAX=1.15
IR_PER_SCREEN_MAX=3000
TEXT_MAX_X86=15000
TEXT_MAX_PPC=19000
TEXT_MAX_PPC_STATIC=64000 # with the C library, musl
HEAP_BLOCKS_MAX=6 # stdin and stdout buffers; FILE and buffer for the read and the write
RSS_KIB_MAX=2048

for tool in valgrind callgrind_annotate cc size readelf /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "bench: $tool is missing" >&2; exit 1; }
done

for preset in release ppc-release ppc-static; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --target quivet_config quivet_vboard >/dev/null
done

rel=build/release
tool=$rel/quivet_config
# Relative to the checkout, where every run starts: LD_PRELOAD splits at blanks.
board=$rel/vboard/libquivet_vboard.so
work=$(mktemp -d /tmp/quivet-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT

cc -Os -Wall -Wextra -Werror -o "$work/floor" bench/floor.c

# A mount that refuses first on PATH, and the board seen to load, or no run.
scripts/fence.sh "$work" env LD_PRELOAD="$board" "$tool" || exit 1

# Runs "$@" on a fresh board: stdin from $input, stdout to $work/out.
on_board() {
  rm -rf "$work/board" && mkdir "$work/board"
  if [ -n "${config:-}" ]; then printf '%s\n' "$config" >"$work/board/quivet.conf"; fi
  (
    export PATH="$work/.bin:$PATH" QUIVET_VBOARD_DIR="$work/board"
    export LD_PRELOAD="$board"
    "$@" <"$input" >"$work/out"
  )
}

# Instructions from exec to exit, as callgrind counts them.
instructions() { # $1: name for the output file, rest: command
  local name=$1
  shift
  on_board valgrind --tool=callgrind --callgrind-out-file="$work/$name.cg" "$@" 2>"$work/$name.err"
  sed -n 's/.*Collected : \([0-9]*\).*/\1/p' "$work/$name.err"
}

# Reads to the end: a reader that stopped early would fail the pipe (pipefail).
top_functions() { # $1: callgrind output
  callgrind_annotate --threshold=90 "$1" | awk '/^ *Ir/ { on = 1 } on && n++ < 14'
}

failures=0
row() { # name, measured, budget, ok(0/1)
  local verdict=ok
  [ "$4" -eq 1 ] || { verdict=FAIL; failures=$((failures + 1)); }
  printf '%-40s %14s %14s  %s\n' "$1" "$2" "$3" "$verdict"
}
le() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a <= b) }' && echo 1 || echo 0; }

# Start-up instructions: no configuration file, board present, empty input.
config=
input=/dev/null
tool_ir=$(instructions startup "$tool")
floor_ir=$(instructions floor "$work/floor")
if ! grep -q 'Choice: ' "$work/out"; then echo "bench: floor printed no menu" >&2; exit 1; fi
ratio=$(awk -v a="$tool_ir" -v b="$floor_ir" 'BEGIN { printf "%.3f", a / b }')

# Instructions per screen: a long session through every menu, loading and saving a file.
config='t_bri=130 t_con=70 t_sat=80 s_bri=120 s_con=60 s_sat=75 c_bri=110 c_con=65 c_sat=85 h_res=544 d_audio=0 t_type=1 f_table=0 h_shift=195 rf_out=60 l_delay=0 f_tune="5:175250,40:623250"'
input=$work/session.keys
bench/session.sh "$ROUNDS" >"$input"
session_ir=$(instructions session "$tool")
clears=$(grep -o '<CLEAR>' "$work/out" | wc -l)
reprints=$(grep -o ' Choice:  Horizontal Resolution' "$work/out" | wc -l)
screens=$((clears + reprints))
grep -q 'Quivet successfully configured.' "$work/out" || { echo "bench: session did not save" >&2; exit 1; }
per_screen=$((session_ir / screens))

# Heap blocks over the same session.
on_board valgrind --tool=memcheck "$tool" 2>"$work/memcheck.err"
heap_blocks=$(sed -n 's/.*total heap usage: \([0-9,]*\) allocs.*/\1/p' "$work/memcheck.err" | tr -d ,)
heap_bytes=$(sed -n 's/.*frees, \([0-9,]*\) bytes allocated.*/\1/p' "$work/memcheck.err" | tr -d ,)

# Peak resident set of the same session, as the kernel keeps it for the tool.
on_board /usr/bin/time -f %M "$tool" 2>"$work/rss"
rss_kib=$(tail -n 1 "$work/rss")

# Text size of the stripped release binaries.
text_x86=$(size "$tool" | awk 'NR == 2 { print $1 }')
text_ppc=$(size build/ppc-release/quivet_config | awk 'NR == 2 { print $1 }')
text_ppc_static=$(size build/ppc-static/quivet_config | awk 'NR == 2 { print $1 }')

printf '%-40s %14s %14s  %s\n' measure measured budget verdict
row "start-up instructions, tool" "$tool_ir" "" 1
row "start-up instructions, floor" "$floor_ir" "" 1
row "start-up ratio tool/floor" "$ratio" "$STARTUP_RATIO_MAX" "$(le "$ratio" "$STARTUP_RATIO_MAX")"
row "session screens" "$screens" ">= $MIN_SCREENS" "$([ "$screens" -ge "$MIN_SCREENS" ] && echo 1 || echo 0)"
row "session instructions" "$session_ir" "" 1
row "instructions per screen" "$per_screen" "$IR_PER_SCREEN_MAX" "$(le "$per_screen" "$IR_PER_SCREEN_MAX")"
row "text bytes, x86-64" "$text_x86" "$TEXT_MAX_X86" "$(le "$text_x86" "$TEXT_MAX_X86")"
row "text bytes, powerpc" "$text_ppc" "$TEXT_MAX_PPC" "$(le "$text_ppc" "$TEXT_MAX_PPC")"
row "text bytes, powerpc static" "$text_ppc_static" "$TEXT_MAX_PPC_STATIC" "$(le "$text_ppc_static" "$TEXT_MAX_PPC_STATIC")"
row "heap blocks (bytes: $heap_bytes)" "$heap_blocks" "$HEAP_BLOCKS_MAX" "$(le "$heap_blocks" "$HEAP_BLOCKS_MAX")"
row "peak RSS KiB, session" "$rss_kib" "$RSS_KIB_MAX" "$(le "$rss_kib" "$RSS_KIB_MAX")"

if [ "$failures" -ne 0 ]; then
  echo
  echo "Top functions of the start-up run:"
  top_functions "$work/startup.cg"
  echo "Top functions of the session run:"
  top_functions "$work/session.cg"
  echo "bench: $failures budget(s) broken" >&2
  exit 1
fi
