#!/usr/bin/env bash
# Fails if a PowerPC ELF named holds a floating-point instruction, which a
# core without an FPU or its emulation traps, or if objdump fails. Each is
# listed with its function (its section, when stripped): any mnemonic that
# starts with f (arithmetic, moves, compares, conversions), lf or stf (loads
# and stores of f registers), mffs, mtfs* or mcrfs (the FP status register).
# musl's _start keeps a data word (_DYNAMIC's offset) after its first
# branch, at the entry point + 4: never run, whatever it decodes as.
#   scripts/fp-free.sh ELF...     one count per ELF
set -uo pipefail
[ $# -gt 0 ] || { echo "usage: scripts/fp-free.sh ELF..." >&2 && exit 2; }
ok=0
for elf in "$@"; do
  data=$(printf '%x' $(($(powerpc-linux-gnu-readelf -h "$elf" | awk '/Entry point/ { print $4 }') + 4))) &&
    powerpc-linux-gnu-objdump -d "$elf" | awk -F'\t' -v f="$elf" -v data="$data:" '
    /^[0-9a-f]+ <.*>:$/ { fn = $0 }
    $3 ~ /^(f|lf|stf|mffs|mtfs|mcrfs)/ && $1 !~ "^ *" data "$" { print fn " " $0; n++ }
    END { print n + 0 " floating-point instructions in " f; exit fn == "" || n > 0 }' || ok=1
done
exit $ok
