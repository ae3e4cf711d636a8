#!/usr/bin/env bash
# Builds quivet_config and starts it on the virtual board, never on this
# machine's /dev/quivet, /etc or root file system. Settings are kept in
# sandbox/ between runs. Installs missing build tools on Debian.
#   run.sh                      on the virtual board, in this terminal
#   run.sh --kernel x86_64|powerpc
#                               the release tool in a guest under qemu, on the
#                               guest's serial line with the driver double;
#                               keys from a pipe are typed once it is up
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
sandbox="$root/sandbox"

on_kernel() {
  local arch=$1 preset=release groups=system work keys
  [ "$arch" = powerpc ] && preset=ppc-release groups="system system-ppc ppc"
  [ "$arch" = powerpc ] || [ "$arch" = x86_64 ] || { echo "usage: $0 [--kernel x86_64|powerpc]" >&2; exit 2; }
  "$root/scripts/deps.sh" build $groups
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  source "$root/scripts/guest.sh"
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  guest_prepare "$arch" "$work" "$root/build/$preset/quivet_config" || { echo "$guest_why" >&2; exit 1; }
  mkdir -p "$sandbox"
  [ ! -f "$sandbox/quivet.conf" ] || cp "$sandbox/quivet.conf" "$work/root/etc/"
  guest_disk "$work/disk.img"
  if [ -t 0 ]; then
    echo "Booting the $arch guest; the tool starts on its serial line."
    guest_boot "$work/disk.img" rw 1 | tee "$work/out"
  else
    # A serial line has no end of input: ^D at a line's start stands for it.
    keys=$(cat; printf x)
    keys=${keys%x}
    guest_script "$work/disk.img" rw 1 "${keys//\\/\\\\}\\004" "$work/out" || echo "guest: $guest_why" >&2
    tr -d '\r' <"$work/out" | sed -n '/QUIVET-READY/,/QUIVET-EXIT/p' | sed '1d;$d'
  fi
  echo
  echo "The driver received:"
  tr -d '\r' <"$work/out" | sed -n 's/^REC /  /p'
  debugfs -R 'cat /etc/quivet.conf' "$work/disk.img" >"$work/conf" 2>/dev/null
  if [ -s "$work/conf" ]; then
    cp "$work/conf" "$sandbox/quivet.conf"
    echo "Saved settings (sandbox/quivet.conf):"
    head -n 1 "$sandbox/quivet.conf"
  else
    echo "No settings saved in the guest."
  fi
  exit 0
}
[ "${1:-}" != --kernel ] || on_kernel "${2:-}"

"$root/scripts/deps.sh" build run

cmake --preset native
cmake --build --preset native

tool="$root/build/native/quivet_config"
board="$root/build/native/vboard/libquivet_vboard.so"
watch="$root/scripts/board_watch.sh"
[ -x "$tool" ] && [ -f "$board" ] || {
  echo "The build did not produce the tool and the virtual board." >&2
  exit 1
}

# A mount that refuses stands first on PATH, whatever happens to the board.
mkdir -p "$sandbox/.bin" "$sandbox/.probe"
printf '#!/bin/sh\necho "mount refused: $*" >&2\nexit 1\n' >"$sandbox/.bin/mount"
chmod +x "$sandbox/.bin/mount"

# The tool at end of input exits before it could save: if the board does
# not show up in its record, the tool is not started for real.
rm -f "$sandbox/.probe/board.log"
env PATH="$sandbox/.bin:$PATH" QUIVET_VBOARD_DIR="$sandbox/.probe" LD_PRELOAD="$board" \
  "$tool" </dev/null >/dev/null 2>&1 || true
if ! grep -q '^start ' "$sandbox/.probe/board.log" 2>/dev/null; then
  echo "The virtual board does not load into the tool; not starting it." >&2
  exit 1
fi

run_tool() {
  env PATH="$sandbox/.bin:$PATH" QUIVET_VBOARD_DIR="$sandbox" LD_PRELOAD="$board" "$tool"
}

if command -v tmux >/dev/null 2>&1 && [ -t 0 ] && [ -t 1 ]; then
  if [ -n "${TMUX:-}" ]; then
    # Already inside tmux: the registers go to a pane beside this one.
    pane=$(tmux split-window -h -d -l 52 -P -F '#{pane_id}' sh "$watch" "$sandbox")
    run_tool || true
    tmux kill-pane -t "$pane" 2>/dev/null || true
  else
    session="quivet-$$"
    tmux new-session -d -s "$session" -x "$(tput cols 2>/dev/null || echo 132)" \
      -y "$(tput lines 2>/dev/null || echo 40)" \
      sh -c 'env PATH="$1" QUIVET_VBOARD_DIR="$2" LD_PRELOAD="$3" "$4"; tmux kill-session -t "$5"' \
      run "$sandbox/.bin:$PATH" "$sandbox" "$board" "$tool" "$session"
    tmux split-window -h -d -l 52 -t "$session" sh "$watch" "$sandbox"
    tmux attach-session -t "$session" || true
  fi
else
  run_tool || true
fi

echo
sh "$watch" --once "$sandbox"
echo
if [ -f "$sandbox/quivet.conf" ]; then
  echo "Saved settings (sandbox/quivet.conf):"
  head -n 1 "$sandbox/quivet.conf"
else
  echo "No settings saved yet (sandbox/quivet.conf does not exist)."
fi
