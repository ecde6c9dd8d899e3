# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by run.sh and test.sh: who builds and runs. Under sudo that is the user who called
# sudo, so that build/ stays theirs and the program never runs as root on their behalf; root
# itself, or a normal user without sudo, builds and runs as who they are.
if [ "$(id -u)" -eq 0 ] && [ -n "${SUDO_USER:-}" ] && [ "$SUDO_USER" != root ]; then
  as_user=(runuser -u "$SUDO_USER" --)
else
  as_user=()
fi

# Stops with a clear message when the user cannot write the source tree or a build folder
# named as an argument (one left behind by root, for example).
check_build_folder() {
  local who blocked dir
  who=$("${as_user[@]}" id -un)
  blocked=$("${as_user[@]}" find "$PWD" -maxdepth 0 ! -writable -print)
  for dir in "$@"; do
    if [ -z "$blocked" ] && [ -d "$dir" ]; then
      blocked=$("${as_user[@]}" find "$PWD/$dir" ! -writable -print -quit 2>/dev/null || echo "$PWD/$dir")
    fi
  done
  if [ -n "$blocked" ]; then
    echo "$0: $who cannot write $blocked (made by another user?)." >&2
    echo "$0: give the folder to $who (chown -R $who $PWD) or remove $*, then run this again." >&2
    exit 1
  fi
}
