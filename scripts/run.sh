#!/usr/bin/env bash
# Installs what is missing, builds into build/ and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPF_BUILD_TESTS=OFF
cmake --build build -j"$(nproc)" --target parlo_film
exec build/parlo_film
