#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what building, running and testing need on Debian 12; only what is missing.
# Installing is the one step that needs root: a normal user is asked for it through sudo.
set -euo pipefail
pkgs=(build-essential cmake pkg-config qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev
      libgl-dev libmpv-dev mpv ffmpeg xvfb xauth fonts-noto-cjk libgtest-dev libgmock-dev
      clang libclang-rt-14-dev clang-format clang-tidy imagemagick desktop-file-utils qt6-translations-l10n
      libx11-dev libxcb1-dev libxtst-dev
      appstream lintian dpkg-dev man-db groff-base)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null; then
    echo "$0: missing packages: ${missing[*]}" >&2
    echo "$0: install them as root (apt-get install ${missing[*]}) or install sudo, then run this again." >&2
    exit 1
  fi
  echo "$0: installing ${missing[*]} through sudo" >&2
  as_root=(sudo)
fi
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
