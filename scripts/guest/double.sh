#!/usr/bin/env bash
# The driver double behind the guests' /dev/quivet
# (tests/system/quivet_double.c): a module built against one kernel's tree,
# cached (scripts/cache.sh) per tree.
#   scripts/guest/double.sh TREE [MAKE-ARG...]   prints the module's path
set -uo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
source "$top/scripts/cache.sh"

# Into folder $1, source $2 against tree $3, make's arguments after. Kbuild
# takes no blank in a path: a tree whose path holds one is copied here.
double_make() {
  local dest=$1 tree=$3
  cp "$2" . && echo 'obj-m := quivet_double.o' >Kbuild &&
    { [[ $tree != *' '* ]] || { cp -a "$tree" tree && tree=$PWD/tree; }; } &&
    make -C "$tree" "${@:4}" M="$PWD" modules && cp quivet_double.ko "$dest/"
}

source=$top/tests/system/quivet_double.c
entry=$(cache_entry double "$(cache_key <(echo "$1") "$1/Module.symvers" "$source" <(declare -f double_make))" \
  "the driver double for this kernel" double_make "$source" "$@") && echo "$entry/quivet_double.ko"
