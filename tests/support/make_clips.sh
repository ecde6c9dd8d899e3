#!/usr/bin/env bash
# Makes the media clips the tests play and join, once per build tree, with ffmpeg.
set -euo pipefail
out=${1:?output folder}
mkdir -p "$out"
