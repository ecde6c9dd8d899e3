#!/usr/bin/env bash
# What a Debian system takes from the build, one part a run:
#   package_check.sh metainfo|manpage <build dir> <program> <version> <app id>
set -euo pipefail
what=$1 build=$2 program=$3 version=$4 id=$5
gen=$build/generated/share
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
case $what in
metainfo)
  # The installed tree: the metainfo and the desktop entry its launchable names.
  cmake --install "$build" --prefix "$out" >/dev/null
  appstreamcli validate-tree --no-net "$out"
  for png in $(grep -o 'docs/[^<]*' "$out/share/metainfo/$id.metainfo.xml"); do
    [ -f "$(dirname "$0")/../../$png" ] || fail "screenshot $png is not in docs/"
  done ;;
manpage)
  page=$gen/parlo_film.1.gz
  warnings=$(MANWIDTH=80 man -l --warnings "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man: $warnings"
  text=$(MANWIDTH=80 man -l "$page")
  grep -q "Parlo_film Viewer $version" <<<"$text" || fail "page is not of version $version"
  for opt in $("$program" --help | grep -o -- '--[a-z]\+' | sort -u); do
    grep -q -- "$opt" <<<"$text" || fail "the page lacks $opt, which --help names"
  done ;;
esac
echo "$what ok"
