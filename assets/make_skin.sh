#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Redraws the stock pictures in assets/skin from make_skin.cpp (Qt, offscreen).
# The PNGs are committed; run this only after changing the drawing code.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
g++ -std=c++20 -O1 -fPIC -o "$tmp/make_skin" "$here/make_skin.cpp" $(pkg-config --cflags --libs Qt6Gui)
QT_QPA_PLATFORM=offscreen "$tmp/make_skin" "$here/skin"
