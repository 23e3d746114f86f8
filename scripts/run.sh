#!/usr/bin/env bash
# Installs what is missing, builds Qxworks, installs it below $QXWORKS_PREFIX (by default
# ~/.local: the program in bin/, its pictures, desktop entry and icon in share/) and starts the
# installed program, which puts its pictures on drive C: where they are missing.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
prefix=${QXWORKS_PREFIX:-$HOME/.local}
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --install "$root/build" --prefix "$prefix" > /dev/null
exec "$prefix/bin/qxworks" "$@"
