#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks that every folder of src/ includes only its own headers and those of the folders below
# it, and that libmpv is included by src/playback/mpv_session.cpp alone. Prints each offending
# line and exits non-zero. A new folder of src/ has to be given its place here first.
set -euo pipefail
cd "$(dirname "$0")/.."

# What each folder may include besides itself: the folders below it, all of them, not only the
# next layer.
declare -A below=(
    [util]=""
    [lists]="util"
    [core]="util lists"
    [join]="util lists core mpeg"
    [mpeg]="util"
    [mci]="util"
    [playback]="util lists core mpeg mci"
    [ui]="util lists core join mpeg mci playback"
    [dialogs]="util lists core join mpeg mci playback ui"
    [app]="util lists core join mpeg mci playback ui dialogs"
)

status=0
for dir in src/*/; do
    folder=$(basename "$dir")
    if [[ ! -v below[$folder] ]]; then
        echo "src/$folder: a folder without a place in the layers of $0" >&2
        status=1
        continue
    fi
    allowed=" $folder ${below[$folder]} "
    include='^[^:]*:[0-9]+:#include "([^/"]+)/'
    while IFS= read -r hit; do
        [[ $hit =~ $include ]] || continue
        used=${BASH_REMATCH[1]}
        if [[ -d src/$used && $allowed != *" $used "* ]]; then
            echo "$hit: $folder may not include $used" >&2
            status=1
        fi
    done < <(grep -nHE '^#include "[^/"]+/' "$dir"*.h "$dir"*.cpp 2>/dev/null || true)
done

while IFS= read -r hit; do
    echo "$hit: libmpv belongs to src/playback/mpv_session.cpp alone" >&2
    status=1
done < <(grep -rnE '^#include <mpv/' src bench | grep -v '^src/playback/mpv_session\.cpp:' || true)

exit $status
