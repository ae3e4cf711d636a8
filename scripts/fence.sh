#!/bin/sh
# fence.sh DIR COMMAND...: keeps a tool whose board did not load away from
# this machine's mount and /etc. Lays DIR/.bin/mount, a mount that refuses
# (and says so in the board's folder), to stand first on the tool's PATH,
# then runs COMMAND, the tool with the board preloaded, idle on a scratch
# board: at end of input the tool leaves without saving, and unless the
# board shows in that run's record this fails and no key may reach the tool.
set -eu
dir=$1
shift
mkdir -p "$dir/.bin" "$dir/.probe"
printf '#!/bin/sh\necho "mount refused: $*" >&2\n: >"${QUIVET_VBOARD_DIR:?}/.mount-refused"\nexit 1\n' >"$dir/.bin/mount"
chmod +x "$dir/.bin/mount"
rm -f "$dir/.probe/board.log"
PATH="$dir/.bin:$PATH" QUIVET_VBOARD_DIR="$dir/.probe" "$@" </dev/null >/dev/null 2>&1 || true
grep -q '^start ' "$dir/.probe/board.log" 2>/dev/null ||
  { echo "The virtual board does not load into the tool; not starting it." >&2; exit 1; }
