# shellcheck shell=bash
# A guest under qemu (TCG) whose serial line is the tool's terminal, from
# the folder scripts/guest/prepare.sh lays out. Sourced (bash):
#   guest_disk WORK IMG           WORK/root as an ext4 image
#   guest_boot WORK IMG ro|rw     qemu on this terminal, stdin to the tool
#   guest_script WORK IMG ro|rw KEYS OUT [UNTIL]
#                                 qemu with KEYS typed once the tool is up,
#                                 its serial output in OUT, until UNTIL shows
#                                 or qemu ends; fails, what went wrong in
#                                 guest_why. qemu is the caller's job until
#                                 then: an EXIT trap ends it by kill $(jobs -p)

guest_disk() {
  rm -f "$2"
  mke2fs -q -t ext4 -d "$1/root" "$2" 24M >/dev/null
}

# qemu's -drive for image $1, attached ro or rw ($2).
guest_drive() {
  echo "file=$1,format=raw,if=virtio,readonly=$([ "$2" = ro ] && echo on || echo off)"
}

guest_boot() {
  local line
  mapfile -t line <"$1/qemu"
  "${line[@]}" -drive "$(guest_drive "$2" "$3")"
}

# Waits up to $4 seconds for $3 in file $1 (for the end of process $2 when $3 is empty).
guest_await() {
  local until=$((SECONDS + $4))
  until { [ -n "$3" ] && grep -aq -- "$3" "$1"; } || ! kill -0 "$2" 2>/dev/null; do
    [ $SECONDS -ge "$until" ] && return 1
    sleep 0.2
  done
  [ -z "$3" ] || grep -aq -- "$3" "$1"
}

guest_script() {
  local out=$5 fifo=$5.in line pid fd
  guest_why=
  mapfile -t line <"$1/qemu"
  rm -f "$fifo"
  mkfifo "$fifo"
  : >"$out"
  "${line[@]}" -drive "$(guest_drive "$2" "$3")" <"$fifo" >"$out" 2>&1 &
  pid=$!
  exec {fd}<>"$fifo"
  guest_await "$out" "$pid" QUIVET-READY 120 && printf '%b' "$4" >&$fd || guest_why+="no boot; "
  guest_await "$out" "$pid" "${6:-}" 120 || guest_why+="timed out; "
  kill -9 "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  exec {fd}>&-
  rm -f "$fifo"
  [ -z "$guest_why" ]
}
