#!/usr/bin/env bash
# Installs what is missing, builds into build/ and runs the whole test suite. Run it as yourself
# (sudo is asked for the package step only) or as root; under sudo the build and the tests run
# as the user who called sudo.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/user.sh
bash scripts/setup.sh
check_build_folder
"${as_user[@]}" cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
"${as_user[@]}" cmake --build build -j"$(nproc)"
cd build
exec "${as_user[@]}" ctest --output-on-failure -j"$(nproc)" --timeout 300
