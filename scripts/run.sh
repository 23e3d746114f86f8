#!/usr/bin/env bash
# Installs what is missing, builds Qxworks, puts the pictures on drive C: and starts it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
drive=${QXWORKS_DRIVE_C:-${XDG_DATA_HOME:-$HOME/.local/share}/qxworks/drive_c}
if [ -d "$root/build/pics" ]; then
  mkdir -p "$drive/Qxe/Pics"
  # Pictures the user already has (perhaps edited) stay as they are.
  cp -rn "$root/build/pics/." "$drive/Qxe/Pics/"
  rm -f "$drive/Qxe/Pics/.stamp"
fi
exec "$root/build/qxworks" "$@"
