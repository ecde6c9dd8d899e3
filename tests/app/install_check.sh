#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a temporary prefix and checks what a desktop needs of it: the program,
# its desktop entry (valid, with the MIME types it opens) and its icon at every size; then the
# program's --version and --help, which need no display.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
fail() { echo "FAIL: $*" >&2; exit 1; }
entry=share/applications/io.github.parlo_film.Viewer.desktop
for f in bin/parlo_film $entry \
         share/icons/hicolor/48x48/apps/parlo_film.png share/icons/hicolor/128x128/apps/parlo_film.png \
         share/icons/hicolor/scalable/apps/parlo_film.svg; do
  [ -f "$prefix/$f" ] || fail "missing $f"
done
[ -x "$prefix/bin/parlo_film" ] || fail "program not executable"
entry=$prefix/$entry
desktop-file-validate "$entry" || fail "desktop entry invalid"
grep -qx 'Name=Parlo_film Viewer' "$entry" || fail "name"
for mime in video/mpeg video/x-mpeg application/vnd.rn-realmedia audio/x-pn-realaudio; do
  grep -q "^MimeType=.*$mime;" "$entry" || fail "MIME type $mime"
done
for size in 48 128; do
  got=$(identify -format '%wx%h' "$prefix/share/icons/hicolor/${size}x${size}/apps/parlo_film.png")
  [ "$got" = "${size}x${size}" ] || fail "$size px icon is $got"
done
version=$(grep -m1 'project(Parlo_film VERSION' "$(dirname "$0")/../../CMakeLists.txt" | sed 's/.*VERSION \([0-9.]*\).*/\1/')
out=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= "$prefix/bin/parlo_film" --version)
[ "$out" = "Parlo_film Viewer $version" ] || fail "--version printed '$out'"
env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/bin/parlo_film" --help | grep -q -- '--version' || fail "--help"
echo "install layout ok"
