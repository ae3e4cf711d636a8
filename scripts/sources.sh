# shellcheck shell=bash
# apt-get on Debian's lists of source packages alone, kept apart from the
# machine's (/etc/apt is not touched): its own Debian entries as deb-src.
# Sourced (bash), after scripts/cache.sh:
#   sources_lists            prints the lists' folder, a cache entry fetched
#                            once per apt configuration (delete sources/ in
#                            the cache to take newer ones)
#   sources_apt LISTS ARG... apt-get ARG... on the lists in folder LISTS

sources_apt() {
  apt-get -q -o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$1/parts" -o Dir::State::Lists="$1/lists" "${@:2}"
}

sources_lists() {
  cache_entry sources "$(cache_key /etc/os-release /etc/apt/sources.list /etc/apt/sources.list.d/* \
    <(declare -f sources_apt sources_fetch))" "Debian's lists of source packages" sources_fetch
}

# The lists into folder $1: every deb entry of this release, as deb-src.
sources_fetch() {
  local codename f
  mkdir -p "$1/lists/partial" "$1/parts" || return 1
  codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] && awk -v RS= -v ORS='\n\n' -v c="$codename" '
      $0 ~ /(^|\n)Types:[^\n]*deb([ \t\n]|$)/ && $0 ~ ("(^|\n)Suites:[^\n]*[ \t]" c "([ \t\n-]|$)") {
        sub(/Types:[^\n]*/, "Types: deb-src"); print }' "$f"
  done >"$1/parts/debian-src.sources"
  cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
    awk -v c="$codename" '$1 == "deb" && $0 ~ (" " c "([ -]|$)") { $1 = "deb-src"; print }' >"$1/parts/debian-src.list"
  sources_apt "$1" update
}
