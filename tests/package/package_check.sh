#!/usr/bin/env bash
# What a Debian system takes from the build, one part a run:
#   package_check.sh metainfo <build dir> <program> <version> <app id>
set -euo pipefail
what=$1 build=$2 program=$3 version=$4 id=$5
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
esac
echo "$what ok"
