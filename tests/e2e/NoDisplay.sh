#!/usr/bin/env bash
# Started where no X display can be opened, qxworks says so and ends with exit code 1 at once
# (SDL would otherwise fall back to drawing off screen, and nothing could ever close it), also
# where a Wayland compositor runs ($WAYLAND_DISPLAY is kept): it asks SDL for X, not for SDL's own
# Wayland driver, which dies during its start on a compositor that offers no seat.
# Usage: NoDisplay.sh BUILD_DIR
set -uo pipefail
build=$1
drive=$(mktemp -d)
trap 'rm -rf "$drive"' EXIT
env -u DISPLAY -u SDL_VIDEODRIVER QXWORKS_DRIVE_C="$drive" \
  timeout 20 "$build/qxworks" 2> "$drive/stderr"
code=$?
[ "$code" -eq 1 ] || { echo "NoDisplay: exit code $code, not 1"; exit 1; }
grep -q "no display" "$drive/stderr" || { echo "NoDisplay: no word of it on stderr"; exit 1; }
echo "NoDisplay: passed"
