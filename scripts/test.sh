#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, checks the formatting and the naming of the units changed since the
# merge base with main (scripts/lint.sh --changed; the naming check of every unit takes three
# minutes, which the time budget below does not leave), builds into build/ (the preset default,
# warnings as errors) and runs the whole test suite (ctest); then, as a second step, tests again
# with AddressSanitizer and UndefinedBehaviorSanitizer in build-asan/ (the preset asan), built
# while the first step's tests run.
# Run it as yourself (sudo is asked for the package step only) or as root; under sudo the builds
# and the tests run as the user who called sudo.
#
# The sanitized step: a second build of everything takes longer than CI allows on two cores, so
# by default it builds and runs the logic folders and those that read untrusted bytes (util,
# lists, core, join, mpeg, mci: file handling, the settings and group files, the path lists, the
# join engine, the MPEG scanner, the media-control commands), on the clips build/ made.
# PF_SANITIZE_ALL=1 builds and runs the whole suite that way. Leaks that system libraries keep
# (libdbus, SDL2 under libmpv) are suppressed by tests/support/lsan.supp, never our own.
# PF_TIME_BUDGET (seconds, default 600) is the time the whole script may take: when the first
# step has used it up, the sanitized step says so and is skipped. The fuzz targets
# (label fuzz) are always built with both sanitizers by the first step.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/user.sh
bash scripts/setup.sh
check_build_folder build build-asan build-lint
"${as_user[@]}" bash scripts/lint.sh --changed
jobs=$(nproc)
"${as_user[@]}" cmake --preset default -DPF_WERROR=ON
"${as_user[@]}" cmake --build build -j"$jobs"

# The sanitized build runs beside the tests, which leave the processors half idle; at a lower
# priority, so that the tests keep their pace.
"${as_user[@]}" cmake --preset asan -DPF_WERROR=ON -DPF_TEST_MEDIA="$PWD/build/test-media" >/dev/null
targets=(--target tests_util tests_lists tests_core tests_join tests_mpeg tests_mci)
[ "${PF_SANITIZE_ALL:-0}" = 1 ] && targets=()
setsid nice -n 10 "${as_user[@]}" cmake --build build-asan -j"$jobs" "${targets[@]}" >build-asan/build.log 2>&1 &
asan_build=$!
stop_asan_build() { kill -- -"$asan_build" 2>/dev/null || true; }
if ! (cd build && "${as_user[@]}" ctest --output-on-failure -j"$jobs" --timeout 300); then
  stop_asan_build
  exit 1
fi

budget=${PF_TIME_BUDGET:-600}
if [ "${PF_SANITIZE_ALL:-0}" != 1 ] && [ "$SECONDS" -gt "$budget" ]; then
  stop_asan_build
  echo "$0: sanitized step skipped: ${SECONDS} s gone of ${budget} s; run it with PF_TIME_BUDGET=100000." >&2
  exit 0
fi
if ! wait "$asan_build"; then
  tail -n 40 build-asan/build.log >&2
  echo "$0: the sanitized build failed (build-asan/build.log)" >&2
  exit 1
fi
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/support/lsan.supp:print_suppressions=0
cd build-asan
if [ "${PF_SANITIZE_ALL:-0}" = 1 ]; then
  # Full stacks, so that a leak in a driver unloaded at exit is known by the library that called it.
  export ASAN_OPTIONS=$ASAN_OPTIONS:fast_unwind_on_malloc=0
  exec "${as_user[@]}" ctest --output-on-failure -j"$jobs" --timeout 600 -LE fuzz
fi
exec "${as_user[@]}" ctest --output-on-failure -j"$jobs" --timeout 300 -L '^(util|lists|core|join|mpeg|mci)$'
