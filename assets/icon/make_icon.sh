#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders the application icon's PNG sizes from parlo_film.svg (needs rsvg-convert from
# librsvg2-bin). The PNGs are committed; run this only after changing the SVG.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
for size in 48 128; do
  rsvg-convert -w "$size" -h "$size" "$here/parlo_film.svg" -o "$here/parlo_film-$size.png"
done
