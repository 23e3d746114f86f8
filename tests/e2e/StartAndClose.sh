#!/usr/bin/env bash
# The real qxworks on a display, used as a person would: it starts with a damaged
# configuration file, says where the file is damaged, leaves the file as it was, removes what a
# killed save left beside it, and ends with exit code 0 when its main window's close button is
# clicked.
# Usage: StartAndClose.sh BUILD_DIR   (DISPLAY must name a running X server)
set -euo pipefail
build=$1
drive=$(mktemp -d)
trap 'rm -rf "$drive"' EXIT
mkdir -p "$drive/Qxe/Pics"
cp -r "$build/pics/." "$drive/Qxe/Pics/"
# A header and a root record that claims more bytes than the file holds.
printf 'Qx\x05\x00\x05\x00\x00\x00CFile\x05\x00\x10\x00\x00\x00' > "$drive/Qxe/Conf.qxe"
before=$(sha256sum < "$drive/Qxe/Conf.qxe")
# What a save killed halfway leaves beside the file: its process is gone, so the start removes it.
dead=$(sh -c 'echo $$')
echo partial > "$drive/Qxe/.Conf.qxe.saving-$dead-1"

QXWORKS_DRIVE_C=$drive SDL_VIDEODRIVER=x11 "$build/qxworks" 2> "$drive/stderr" &
pid=$!
fail() { echo "StartAndClose: $1"; kill "$pid" 2>/dev/null || true; exit 1; }

# The fault is reported before anything else can happen.
for _ in $(seq 50); do grep -q 'смещение 15' "$drive/stderr" && break; sleep 0.1; done
grep -q 'смещение 15' "$drive/stderr" || fail "no fault report on stderr: $(cat "$drive/stderr")"

# The box stands in the middle of the screen; with no window manager the keyboard follows the
# pointer.
sleep 0.5
xdotool mousemove 512 384 key Return
sleep 0.5
# The main window stands at (100, 100), 800 wide; its close button ends 3 units from the right
# of the 20-unit caption bar.
xdotool mousemove 885 111 click 1
for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "still running after its close button was clicked"
wait "$pid" || fail "exit code $?"
[ "$(sha256sum < "$drive/Qxe/Conf.qxe")" = "$before" ] || fail "the configuration file changed"
[ ! -e "$drive/Qxe/.Conf.qxe.saving-$dead-1" ] || fail "a killed save's temporary is still there"
echo "StartAndClose: passed"
