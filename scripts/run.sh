#!/usr/bin/env bash
# Builds quivet_config and starts it on the virtual board, never on this
# machine's /dev/quivet, /etc or root file system. Settings and the board's
# registers are kept in sandbox/ between runs. Installs missing build tools on Debian.
#   run.sh                      on the virtual board, in this terminal
#   run.sh --restart            the same, the host restarted first: the
#                               registers take the saved settings
#   run.sh --kernel x86_64|powerpc
#                               the release tool in a guest under qemu, on the
#                               guest's serial line with the driver double;
#                               keys from a pipe are typed once it is up
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
sandbox="$root/sandbox"

# The tool's screens in the guest's serial output, from the ready marker to
# the exit marker, passed on as they come: prompts end without a newline.
screens() {
  perl -e '$| = 1; my ($s, $on, $m) = ("", 0, "QUIVET-EXIT");
    while (sysread(STDIN, my $in, 4096)) {
      next if $on > 1;
      $s .= $in;
      $on ||= $s =~ s/^.*?QUIVET-READY\r?\n//s or next;
      if ($s =~ s/\Q$m\E.*//s) { print $s; $on = 2; next }
      my $k = length($m) - 1; # held back while it may be the marker beginning
      $k-- while $k && substr($s, -$k) ne substr($m, 0, $k);
      print substr($s, 0, length($s) - $k, "");
    }'
}

# What this run did ($1, or nothing: no save), then what is on file now.
on_file() {
  echo "${1:-This run did not save.}"
  if [ -f "$sandbox/quivet.conf" ]; then echo "On file (sandbox/quivet.conf):" && head -n 1 "$sandbox/quivet.conf"
  elif [ -e "$sandbox/quivet.conf" ]; then echo "sandbox/quivet.conf is not a regular file."
  else echo "Nothing on file (sandbox/quivet.conf does not exist)."; fi
}

on_kernel() {
  local arch=$1 preset=release groups=system work keys
  [ "$arch" = powerpc ] && preset=ppc-release groups="system system-ppc ppc"
  [ "$arch" = powerpc ] || [ "$arch" = x86_64 ] || { echo "usage: $0 [--restart | --kernel x86_64|powerpc]" >&2; exit 2; }
  "$root/scripts/deps.sh" build $groups
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  source "$root/scripts/guest/qemu.sh"
  work=$(mktemp -d)
  trap '{ kill -9 $(jobs -p); wait; } 2>/dev/null; rm -rf "$work"' EXIT
  "$root/scripts/guest/prepare.sh" "$arch" "$work" "$root/build/$preset/quivet_config" || exit 1
  mkdir -p "$sandbox"
  [ ! -f "$sandbox/quivet.conf" ] || cp "$sandbox/quivet.conf" "$work/root/etc/"
  guest_disk "$work" "$work/disk.img"
  if [ -t 0 ]; then
    echo "Booting the $arch guest; the tool starts on its serial line."
    guest_boot "$work" "$work/disk.img" rw | tee "$work/out" | screens
  else
    # A serial line has no end of input: ^D at a line's start stands for it.
    keys=$(cat; printf x)
    keys=${keys%x}
    guest_script "$work" "$work/disk.img" rw "${keys//\\/\\\\}\\004" "$work/out" || echo "guest: $guest_why" >&2
    screens <"$work/out"
  fi
  tr -d '\r' <"$work/out" >"$work/log"
  echo
  echo "The driver received:"
  sed -n 's/^REC /  /p' "$work/log"
  case $(awk '$1 == "ROOT" { print substr($5, 1, 3) }' "$work/log") in
    ro,) echo "The root file system is read-only again." ;;
    rw,) echo "The root file system was left read-write." ;;
    *) echo "The guest did not report its root file system." ;;
  esac
  debugfs -R 'cat /etc/quivet.conf' "$work/disk.img" >"$work/conf" 2>/dev/null
  [ ! -s "$work/conf" ] || cp "$work/conf" "$sandbox/quivet.conf"
  on_file "$(sed -n -e 's/.*Quivet successfully configured.*/This run saved its settings./p' \
    -e 's/.*\(Unable to save configuration\).*/This run could not save (\1)./p' "$work/log")"
  exit 0
}
[ "${1:-}" != --kernel ] || on_kernel "${2:-}"
[ $# -eq 0 ] || [ "$*" = --restart ] || { echo "usage: $0 [--restart | --kernel x86_64|powerpc]" >&2; exit 2; }
restart=QUIVET_VBOARD_RESTART=$([ "${1:-}" = --restart ] && echo 1 || echo "${QUIVET_VBOARD_RESTART:-0}")

"$root/scripts/deps.sh" build run

cmake --preset native
cmake --build --preset native --target quivet_config quivet_vboard quivet_config_check

tool="$root/build/native/quivet_config"
# Relative to $root, where every run starts: LD_PRELOAD splits at blanks.
board=build/native/vboard/libquivet_vboard.so
watch="$root/scripts/board_watch.sh"
[ -x "$tool" ] && [ -f "$board" ] || { echo "The build did not produce the tool and the virtual board." >&2; exit 1; }

# A mount that refuses first on PATH, and the board seen to load, or no start.
scripts/fence.sh "$sandbox" env LD_PRELOAD="$board" "$tool" || exit 1

# The shell's "Quit" notice for a tool ended by Ctrl-\ is dropped, not the tool's errors.
run_tool() {
  { env PATH="$sandbox/.bin:$PATH" QUIVET_VBOARD_DIR="$sandbox" LD_PRELOAD="$board" "$restart" "$tool" 2>&3; } 3>&2 2>/dev/null
}

# Shows the registers beside tool pane $1, or below it, where the tool keeps
# its widest line and tallest menu; otherwise in a window of their own.
# Prints the new pane's id.
place_registers() {
  local pane=$1 watch=$2 sandbox=$3 cols rows window
  # 64 columns for the fine-tuning frequency prompt, 10 for a frequency typed
  # after it; a menu, 11 lines where the shell's echo prints -ne, and one typed.
  local tool_cols=74 tool_rows=12 reg_cols=56 reg_rows=25
  read -r cols rows window < <(tmux display-message -p -t "$pane" '#{pane_width} #{pane_height} #{window_id}')
  if [ "$cols" -ge $((tool_cols + 1 + reg_cols)) ]; then
    tmux split-window -h -d -l "$reg_cols" -t "$pane" -P -F '#{pane_id}' sh "$watch" "$sandbox"
  elif [ "$rows" -ge $((tool_rows + 1 + reg_rows)) ]; then
    tmux split-window -v -d -l "$reg_rows" -t "$pane" -P -F '#{pane_id}' sh "$watch" "$sandbox"
  else
    tmux new-window -a -d -n registers -t "$window" -P -F '#{pane_id}' sh "$watch" "$sandbox"
  fi
}

[ -t 1 ] || echo "run.sh: standard output is not a terminal; quivet_config is running and reads its keys from standard input." >&2
# Ctrl-C and Ctrl-\ end the tool, not this script: the registers and the file
# follow. No core file is left.
trap : INT QUIT
ulimit -c 0
if command -v tmux >/dev/null 2>&1 && [ -t 0 ] && [ -t 1 ]; then
  if [ -n "${TMUX:-}" ]; then
    # Already inside tmux: the registers go beside or below this pane.
    pane=$(place_registers "$TMUX_PANE" "$watch" "$sandbox")
    trap 'tmux kill-pane -t "$pane" 2>/dev/null || true' EXIT
    run_tool || true
  else
    # The pane's shell outlives a Ctrl-C or Ctrl-\ at the tool to close the session.
    session="quivet-$$"
    trap 'tmux kill-session -t "$session" 2>/dev/null || true' EXIT
    # Made at the size it gets when attached, the status line taken off, so
    # the registers are placed for that size.
    bar=$(tmux start-server \; show-options -gv status 2>/dev/null || echo on)
    case $bar in on) bar=1 ;; off) bar=0 ;; esac
    pane=$(tmux new-session -d -P -F '#{pane_id}' -s "$session" -n quivet_config -c "$root" \
      -x "$(tput cols 2>/dev/null || echo 80)" -y "$(($(tput lines 2>/dev/null || echo 24) - bar))" \
      sh -c 'trap : INT QUIT; ulimit -c 0; env PATH="$1" QUIVET_VBOARD_DIR="$2" LD_PRELOAD="$3" "$6" "$4"; tmux kill-session -t "$5"' \
      run "$sandbox/.bin:$PATH" "$sandbox" "$board" "$tool" "$session" "$restart")
    place_registers "$pane" "$watch" "$sandbox" >/dev/null
    tmux attach-session -t "$session" || true
  fi
else
  run_tool || true
fi

echo
sh "$watch" --once "$sandbox"
echo
# The last run's record: a save is a file written and closed, then the
# root read-only again; a run killed on the way says how far it got. A
# record cut short (by a file-size limit) or sent elsewhere cannot tell.
on_file "$(awk '/^start / { s = "" }
  /^system mount -o remount,rw / { s = "This run ended during its save, the file not yet opened: it is as it was." }
  /^fopen \/etc\/quivet.conf w/ { s = /-> ok$/ ? "This run ended during its save: the file may be empty or cut short." \
    : "This run could not save (Unable to save configuration)." }
  /^fclose / && s ~ /cut short/ { s = "This run wrote its settings, then ended with the root still writable." }
  /^system mount -o remount,ro / { s = s ~ /still writable/ ? "This run saved its settings." \
    : "This run could not save (Unable to save configuration)." }
  END { print s }' "$sandbox/board.log" 2>/dev/null)"
