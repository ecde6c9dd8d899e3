#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The checked habits of CONTRIBUTING.md: the layout of .clang-format over every C++ file,
# then the naming dialect of .clang-tidy over the translation units of src/, tests/ and bench/
# (headers through the units that include them). Exits non-zero on any finding.
#
#   bash scripts/lint.sh            both checks, the naming check over every unit (3 minutes on
#                                   two cores)
#   bash scripts/lint.sh --changed  both checks, the naming check over the units changed since
#                                   the merge base with main (scripts/test.sh runs this)
#   bash scripts/lint.sh --format   the format check only: fast
#
# The naming check reads the compilation database of a tree of its own, build-lint/ (PF_LINT_DIR
# names another), configured file by file and without precompiled headers, and never built: a
# build's database names its batches of sources rather than the sources, and its precompiled
# headers are gcc's, which clang cannot read. So a file that does not include what it uses is an
# error here. Sources outside the database (the fuzzers, which clang builds on its own) are
# checked with the flags of their nearest neighbour there. PF_LINT_JOBS sets the parallel runs (2).
#
# --changed takes the units changed since the merge base of HEAD with origin/main (or main),
# committed or not, and for each changed header one unit that includes it; on main itself, what
# its last commit changed (a merge's: all that its branch brought). Every unit when a .clang-tidy
# changed, or when git cannot tell.
set -euo pipefail
cd "$(dirname "$0")/.."

mode=all
case "${1:-}" in
"") ;;
--changed) mode=changed ;;
--format) mode=format ;;
*)
    echo "usage: $0 [--changed | --format]" >&2
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
mapfile -t units < <(printf '%s\n' "${sources[@]}" | grep '\.cpp$')

# One unit that includes `header`, directly or through other headers: the header's own source
# where it has one. A header's names are reported through any unit that includes it.
Unit_Including() {
    local next=("$1") f names
    local -A seen=([$1]=1)
    if [ -f "${1%.h}.cpp" ]; then
        echo "${1%.h}.cpp"
        return
    fi
    while [ ${#next[@]} -gt 0 ]; do
        names=$(printf '%s\n' "${next[@]##*/}" | sed 's/[.]/[.]/g' | paste -sd'|')
        next=()
        while IFS= read -r f; do
            [[ -v seen[$f] ]] && continue
            seen[$f]=1
            case $f in
            *.cpp)
                echo "$f"
                return
                ;;
            *) next+=("$f") ;;
            esac
        done < <(grep -lE "^#include \"([^\"]*/)?($names)\"" "${sources[@]}" || true)
    done
}

# Narrows `units` to those --changed checks and says in `chosen` how they were chosen.
Keep_Changed_Units() {
    # A checkout owned by another user (root testing a user's tree) is still read.
    local git=(git -c safe.directory='*') base='' ref f
    for ref in origin/main main; do
        base=$("${git[@]}" merge-base HEAD "$ref" 2>/dev/null) && break
    done
    if [ -n "$base" ] && [ "$base" = "$("${git[@]}" rev-parse HEAD)" ]; then
        base=$("${git[@]}" rev-parse -q --verify HEAD~1) || base=''
    fi
    local changed=()
    [ -n "$base" ] && mapfile -t changed < <("${git[@]}" diff --name-only --no-renames "$base" --
        "${git[@]}" ls-files --others --exclude-standard)
    if [ -z "$base" ] || printf '%s\n' "${changed[@]}" | grep -q '\.clang-tidy$'; then
        chosen="every unit: no merge base with main, or the naming rules changed"
        return
    fi
    chosen="the units changed since $("${git[@]}" rev-parse --short "$base")"
    local found=()
    for f in "${changed[@]}"; do
        case $f in
        *.cpp) found+=("$f") ;;
        *.h) [ -f "$f" ] && found+=("$(Unit_Including "$f")") ;;
        esac
    done
    mapfile -t units < <(printf '%s\n' "${found[@]}" | sort -u | grep -xF -f <(printf '%s\n' "${units[@]}"))
}

total=${#units[@]}
chosen="every unit"
if [ "$mode" = changed ]; then
    Keep_Changed_Units
fi
if [ ${#units[@]} -eq 0 ]; then
    echo "lint: ${#sources[@]} files formatted; no unit to check for names ($chosen)"
    exit 0
fi

db=${PF_LINT_DIR:-build-lint}
if ! out=$(cmake -S . -B "$db" -DCMAKE_UNITY_BUILD=OFF -DPF_PCH=OFF 2>&1); then
    printf '%s\n' "$out" >&2
    echo "$0: cannot configure $db for the naming check" >&2
    exit 2
fi
report=$(mktemp)
trap 'rm -f "$report"' EXIT
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
echo "lint: ${#sources[@]} files formatted, ${#units[@]} of $total units named as CONTRIBUTING.md says ($chosen)"
