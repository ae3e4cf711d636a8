#!/bin/sh
# Shows the virtual board's registers (board.state in the sandbox folder, as
# they stand) and, from its record (board.log), what the latest run did.
#   board_watch.sh [--once] <sandbox folder>
set -u

once=0
if [ "${1:-}" = "--once" ]; then
  once=1
  shift
fi
dir=${1:-sandbox}
log="$dir/board.log"
state="$dir/board.state"

render() {
  # Of the record only the latest run counts: each starts with a "start" line.
  awk -v state="$state" '
    BEGIN {
      while ((getline line < state) > 0) { split(line, f, " "); reg[f[1]] = f[2] }
      n = split("CMD_T_BRI CMD_T_CON CMD_T_SAT CMD_S_BRI CMD_S_CON CMD_S_SAT " \
                "CMD_C_BRI CMD_C_CON CMD_C_SAT CMD_H_RES CMD_H_SHIFT CMD_L_DELAY " \
                "CMD_D_AUDIO CMD_F_TABLE CMD_RF_OUT CMD_F_TUNE", names, " ")
    }
    /^start / { board = "-"; root = "ro"; violations = 0; last = ""; changed = ""; saved = "" }
    /^open \/dev\/quivet .*-> ok$/ { board = "open" }
    /^open \/dev\/quivet -> missing$/ { board = "missing" }
    /^close \/dev\/quivet$/ { board = "closed" }
    /^system mount -o remount,rw \/$/ { root = "rw (asked)" }
    /^system mount -o remount,ro \/$/ { root = "ro" }
    /^fopen \/etc\/quivet.conf r -> ok$/ { saved = "read" }
    /^fopen \/etc\/quivet.conf r -> ENOENT$/ { saved = "none" }
    /^fopen \/etc\/quivet.conf [wa+]+ -> ok$/ { saved = "being written" }
    /^fclose \/etc\/quivet.conf$/ { if (saved == "being written") saved = "written" }
    /^fopen \/etc\/quivet.conf w.* -> EROFS$/ { saved = "refused (read-only)" }
    /^violation / { violations++ }
    /^ioctl / { changed = $2 }
    /^exit$/ { board = board " (tool exited)" }
    { if ($0 !~ /^system <clear-screen>$/) last = $0 }
    END {
      printf " Virtual quivet board\n"
      printf " board: %s   root: %s\n config file: %s\n\n", board, root, (saved == "" ? "-" : saved)
      printf " %-13s %s\n", "Register", "Value"
      for (i = 1; i <= n; i++) {
        name = names[i]
        value = (name in reg) ? reg[name] : "-"
        if (name == "CMD_F_TUNE" && (name in reg)) {
          u = reg[name] + 0
          if (u < 0) u += 4294967296
          ch = int(u / 16777216)
          value = value sprintf("  (channel %d, %d kHz)", ch, u - ch * 16777216)
        }
        printf " %-13s %s%s\n", name, value, (name == changed ? "   <" : "")
      }
      printf "\n violations: %d\n last: %s\n", violations, last
    }
  ' "$log"
}

if [ "$once" = 1 ]; then
  [ -f "$log" ] && render
  exit 0
fi

seen=""
while :; do
  now=$(ls -l --time-style=+%s.%N "$log" "$state" 2>/dev/null)
  if [ "$now" != "$seen" ]; then
    seen=$now
    printf '\033[H\033[2J'
    if [ -f "$log" ]; then render; else echo " waiting for $log"; fi
  fi
  sleep 0.2
done
