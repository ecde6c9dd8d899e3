#!/usr/bin/env bash
# Installs what building, running and testing need on Debian 12; only what is missing.
set -euo pipefail
pkgs=(build-essential cmake pkg-config qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev
      libgl-dev libmpv-dev mpv ffmpeg xvfb xauth fonts-noto-cjk libgtest-dev libgmock-dev
      clang libclang-rt-14-dev imagemagick desktop-file-utils qt6-translations-l10n)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
