# shellcheck shell=bash
# The cache of what the tests build once (musl, the PowerPC guests' kernels,
# BusyBox, the driver double): an entry is the folder NAME/KEY under
# ${XDG_CACHE_HOME:-~/.cache}/quivet-guest, complete or absent. Sourced (bash):
#   cache_key FILE...           a key: the hash of the files' contents
#   cache_entry NAME KEY WHAT COMMAND [ARG...]
#                               prints the entry's folder, built first if
#                               absent by COMMAND FOLDER ARG... (WHAT names
#                               it in messages); a failure prints one line
#                               naming the build and its log on stderr

cache_key() {
  cat "$@" 2>/dev/null | sha256sum | cut -c1-16
}

# COMMAND fills a temporary folder beside the entry, renamed into place once
# it succeeds; it works in a private folder under /tmp, as Kbuild, BusyBox
# and musl take no blank in a path. One build of NAME at a time, its log in
# NAME/build.log. Entries unused for a week go.
cache_entry() {
  local top dir entry what=$3 lock l w
  # A relative XDG_CACHE_HOME is ignored, as the XDG base directory rules say:
  # CMake, for one, runs musl.sh again from the build folder.
  [[ ${XDG_CACHE_HOME:-} == /* ]] && top=$XDG_CACHE_HOME || top=${HOME:-$(getent passwd "$(id -u)" | cut -d: -f6)}/.cache
  top+=/quivet-guest dir=$top/$1 entry=$top/$1/$2
  shift 3
  [ -d "$entry" ] && touch "$entry" && echo "$entry" && return
  mkdir -p "$dir" && exec {lock}>>"$dir/lock" || { echo "no cache folder $dir" >&2 && return 1; }
  flock -n "$lock" || { echo "Waiting for $what, being built by another process (log: $dir/build.log)" >&2 && flock "$lock"; }
  [ -d "$entry" ] || {
    echo "Building $what (once; cached in $entry)" >&2
    for l in "$top"/*/lock; do find "${l%/lock}" -mindepth 1 -maxdepth 1 -type d -mtime +6 -exec rm -rf {} +; done
    rm -rf "$top"/{linux,busybox,musl}-* "$top"/{apt,*.lock} # the layout before entries had folders
    # What a killed build of this name left: only the lock's holder builds.
    w=$(cat "$dir/work" 2>/dev/null) && [[ $w == /tmp/quivet.* ]] && rm -rf "$w"
    rm -rf "$dir"/*.tmp.*
    # In the background: a stopped run waits for what it started before removing its folders.
    (t=$(mktemp -d "$entry.tmp.XXXXXX") && b=$(mktemp -d /tmp/quivet.XXXXXX) && echo "$b" >"$dir/work" &&
      trap 'wait; rm -rf "$t" "$b" "$dir/work"' EXIT &&
      cd "$b" && { "$1" "$t" "${@:2}" & wait $!; } && mv -T "$t" "$entry") >"$dir/build.log" 2>&1 ||
      echo "building $what failed (log: $dir/build.log)" >&2
  }
  exec {lock}>&-
  [ -d "$entry" ] && echo "$entry"
}
