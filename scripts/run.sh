#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds into build/ and starts the program. Run it as yourself (sudo
# is asked for the package step only) or as root; under sudo the build and the program run as
# the user who called sudo, never as root.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/user.sh
bash scripts/setup.sh
check_build_folder build
"${as_user[@]}" cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPF_BUILD_TESTS=OFF
"${as_user[@]}" cmake --build build -j"$(nproc)" --target parlo_film
exec "${as_user[@]}" build/parlo_film
