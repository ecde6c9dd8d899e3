#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# What a Debian system takes from the build, one part a run:
#   package_check.sh deb|metainfo|manpage <build dir> <program> <version> <app id>
set -euo pipefail
what=$1 build=$2 program=$3 version=$4 id=$5
gen=$build/generated/share
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
case $what in
deb)
  cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >/dev/null
  deb=$out/parlo-film_${version}_$(dpkg --print-architecture).deb
  [ -f "$deb" ] || fail "cpack made $(ls "$out"/*.deb)"
  f() { dpkg-deb --field "$deb" "$1"; }
  [ "$(f Package) $(f Version) $(f Section)" = "parlo-film $version video" ] || fail "$(dpkg-deb --info "$deb")"
  f Maintainer | grep -q '^[^<]\+ <[^>]\+@[^>]\+>$' || fail "Maintainer: $(f Maintainer)"
  # Libraries are found in the binary by dpkg-shlibdeps, so a new one cannot be forgotten.
  for lib in libmpv2 libqt6widgets6 libc6; do f Depends | grep -q "\b$lib\b" || fail "Depends lacks $lib"; done
  files=$(dpkg-deb --contents "$deb" | awk '{print $6}')
  for p in bin/parlo_film share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
           share/man/man1/parlo_film.1.gz share/doc/parlo-film/copyright share/doc/parlo-film/changelog.gz \
           share/icons/hicolor/{48x48,128x128}/apps/parlo_film.png share/icons/hicolor/scalable/apps/parlo_film.svg; do
    grep -qx "./usr/$p" <<<"$files" || fail "package lacks /usr/$p"
  done
  lintian --fail-on error,warning "$deb" ;;
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
