#!/bin/sh
# The shipped tool in a real terminal: tmux runs it on the virtual board, we
# wait for the main menu, check the screen was cleared for it, and leave
# with "6".
#   tmux_smoke.sh <tool> <board .so> [emulator and its arguments...]
# Exit 0 pass, 1 fail, 77 skipped (no tmux).
set -u

tool=$1
board=$2
shift 2

if ! command -v tmux >/dev/null 2>&1; then
  echo "SKIP: tmux is not installed"
  exit 77
fi
if [ ! -f "$board" ] || [ ! -x "$tool" ]; then
  echo "FAIL: build the tool and the virtual board first"
  exit 1
fi

dir=$(mktemp -d "${TMPDIR:-/tmp}/quivet-smoke-XXXXXX")
sock="$dir/tmux.sock"  # a server of our own, never the user's
cleanup() {
  tmux -S "$sock" kill-server >/dev/null 2>&1
  rm -rf "$dir"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

fail() {
  echo "FAIL: $*"
  echo "--- pane"
  cat "$dir/pane" 2>/dev/null
  echo "--- board.log"
  cat "$dir/board.log" 2>/dev/null
  exit 1
}

# Should the board fail to load, mount still cannot touch this machine.
mkdir "$dir/bin"
printf '#!/bin/sh\necho "mount $*" >> "%s/mount-refused.log"\nexit 1\n' "$dir" >"$dir/bin/mount"
chmod +x "$dir/bin/mount"

# Text on the screen before the tool starts: the clear must remove it.
cat >"$dir/run" <<'RUN'
#!/bin/sh
status_file=$1
shift
echo "SMOKE-BEFORE-CLEAR"
"$@"
echo $? >"$status_file"
RUN

if [ $# -gt 0 ]; then
  # Cross build: the board goes to the guest, never to the host's loader.
  set -- env PATH="$dir/bin:$PATH" QUIVET_VBOARD_DIR="$dir" "$@" -E LD_PRELOAD="$board" "$tool"
else
  set -- env PATH="$dir/bin:$PATH" QUIVET_VBOARD_DIR="$dir" LD_PRELOAD="$board" "$tool"
fi
tmux -S "$sock" -f /dev/null new-session -d -s smoke -x 80 -y 24 sh "$dir/run" "$dir/status" "$@" ||
  fail "tmux could not start a session"

# Polls a condition every 50 ms for up to 90 s: qemu under load is slow to start.
wait_for() {
  tries=1800
  while [ $tries -gt 0 ]; do
    if eval "$1"; then return 0; fi
    tries=$((tries - 1))
    sleep 0.05
  done
  return 1
}

capture() { tmux -S "$sock" capture-pane -p -t smoke >"$dir/pane" 2>/dev/null; }
menu_drawn() { capture && grep -q '^ Choice:' "$dir/pane"; }

wait_for menu_drawn || fail "the main menu never appeared"

# Blank lines may stand above the title (a shell whose echo knows no -n
# leaves a newline after the reset); nothing else may.
first=$(grep -v '^$' "$dir/pane" | head -n 1)
[ "$first" = " Quivet Configuration Tool (v1.13)" ] || fail "the screen was not cleared for the menu"
grep -q 'SMOKE-BEFORE-CLEAR' "$dir/pane" && fail "text from before the start is still on the screen"

tmux -S "$sock" send-keys -t smoke 6 Enter
wait_for '[ -s "$dir/status" ]' || fail "the tool did not exit after 6"
[ "$(cat "$dir/status")" = 0 ] || fail "exit status $(cat "$dir/status")"
grep -q '^close /dev/quivet$' "$dir/board.log" || fail "the board was not closed"
grep -q '^violation' "$dir/board.log" && fail "protocol violation"
[ -e "$dir/mount-refused.log" ] && fail "a real mount was attempted"
[ -e "$dir/quivet.conf" ] && fail "exit without saving wrote the configuration file"
echo "PASS: menu drawn on a cleared screen, exit with 6"
