#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The checked habits of CONTRIBUTING.md: the layout of .clang-format over every C++ file,
# then the naming dialect of .clang-tidy over every translation unit of src/, tests/ and bench/
# (headers through the units that include them). Exits non-zero on any finding.
#
#   bash scripts/lint.sh            both checks; the naming check reads build/compile_commands.json,
#                                   so run it after a build (PF_BUILD_DIR names another build folder)
#   bash scripts/lint.sh --format   the format check only: fast, needs no build
#
# Sources outside the compilation database (the fuzzers, which clang builds on its own) are
# checked with the flags of their nearest neighbour there. PF_LINT_JOBS sets the parallel runs (2).
set -euo pipefail
cd "$(dirname "$0")/.."

mode=all
case "${1:-}" in
"") ;;
--format) mode=format ;;
*)
    echo "usage: $0 [--format]" >&2
    exit 2
    ;;
esac

# The C++ files of the tree (not through git: scripts/test.sh may run this as root in a user's checkout).
mapfile -t sources < <(find src tests bench -name '*.cpp' -o -name '*.h' | sort)
if ! clang-format --dry-run -Werror "${sources[@]}"; then
    echo "$0: formatting differs from .clang-format; run clang-format -i on the files above" >&2
    exit 1
fi
if [ "$mode" = format ]; then
    echo "lint: ${#sources[@]} files formatted as .clang-format says"
    exit 0
fi

build=${PF_BUILD_DIR:-build}
if [ ! -f "$build/compile_commands.json" ]; then
    echo "$0: $build/compile_commands.json is missing: build first (scripts/test.sh, or cmake -S . -B $build)" >&2
    exit 2
fi
mapfile -t units < <(printf '%s\n' "${sources[@]}" | grep '\.cpp$')
report=$(mktemp)
db=$(mktemp -d)
trap 'rm -rf "$report" "$db"' EXIT
# The build's precompiled headers are gcc's, which clang cannot read: each unit is checked
# without them, so a file that does not include what it uses is an error here.
sed -E 's# -Winvalid-pch -include [^ ]*/cmake_pch\.hxx##g' "$build/compile_commands.json" >"$db/compile_commands.json"
# g++ warning options that clang does not know are not findings; the compiler's own warnings are
# the build's business, so only the naming check reports (and any error that stops a parse).
status=0
printf '%s\0' "${units[@]}" \
    | xargs -0 -n 4 -P "${PF_LINT_JOBS:-2}" clang-tidy -p "$db" --quiet --warnings-as-errors='*' \
        --extra-arg=-Wno-unknown-warning-option >"$report" 2>/dev/null \
    || status=$?
# A header's finding comes once per unit that includes it: each is shown once.
if grep -E '(warning|error):' "$report" | sort -u | grep .; then
    echo "$0: the names above depart from CONTRIBUTING.md's dialect (see .clang-tidy)" >&2
    exit 1
fi
if [ "$status" -ne 0 ]; then
    echo "$0: clang-tidy failed (exit $status) without a finding; run it on one file to see why" >&2
    exit 1
fi
echo "lint: ${#sources[@]} files formatted, ${#units[@]} units named as CONTRIBUTING.md says"
