#!/usr/bin/env bash
# The real qxworks on a display, used as a person would: it starts with a damaged
# configuration file, says where the file is damaged, leaves the file as it was, removes what a
# killed save left beside it, takes the answer to its box from the keyboard, follows a drag of a
# splitter that leaves the window before the button comes up, and ends with exit code 0 when its
# main window's close button is clicked.
# Usage: StartAndClose.sh BUILD_DIR   (DISPLAY must name a running X server)
# The pointer, the keys and screenshots go to $QX_SCREEN_DISPLAY when it is set: the screen a
# person sees, where that is not the program's own display (a Wayland compositor showing its
# output on one X server, with the program on its Xwayland).
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
person() { DISPLAY=${QX_SCREEN_DISPLAY:-$DISPLAY} "$@"; }
# The screen as the failure left it, beside the other sessions' screenshots.
fail() {
  echo "StartAndClose: $1"
  mkdir -p "${QX_SHOTS:-$build/e2e}"
  person import -window root "${QX_SHOTS:-$build/e2e}/StartAndClose-failed.png" || true
  kill "$pid" 2>/dev/null || true
  exit 1
}

# The fault is reported before anything else can happen.
for _ in $(seq 50); do grep -q 'смещение 15' "$drive/stderr" && break; sleep 0.1; done
grep -q 'смещение 15' "$drive/stderr" || fail "no fault report on stderr: $(cat "$drive/stderr")"

# The desktop's window list names the main window by its title.
for _ in $(seq 30); do
  xdotool search --name '^Qxworks 0\.3\.2$' > /dev/null 2>&1 && break
  sleep 0.1
done
xdotool search --name '^Qxworks 0\.3\.2$' > /dev/null 2>&1 || fail "no window titled Qxworks 0.3.2"

# The box stands in the middle of the screen; with no window manager the keyboard follows the
# pointer. While it waits, the main window takes no click.
sleep 0.5
person xdotool mousemove 512 384 key Return
sleep 0.5
# The main window stands at (100, 100), 800 by 600. The lime splitter between the tree and the
# workspace, at x = 368 .. 370, is dragged to x = 600 and let go below the window: the toolkit
# holds the pointer through the drag, so the release still reaches it.
lime_at() { person import -window root -crop "1x1+$1+$2" -depth 8 txt:- | grep -qi '#00FF00'; }
lime_at 369 300 || fail "no splitter at x = 369"
# Each step settles before the next: under load on Xwayland, a drag whose steps came in one
# burst was now and then not followed.
person xdotool mousemove 369 300
sleep 0.3
person xdotool mousedown 1
sleep 0.3
for at in "450 350" "520 500" "600 740"; do
  # shellcheck disable=SC2086
  person xdotool mousemove $at
  sleep 0.2
done
sleep 0.3
person xdotool mouseup 1
# Under load the compositor may take a while to pass the drag on: look again for a few seconds.
moved() { lime_at 600 300 && ! lime_at 369 300; }
for _ in $(seq 10); do moved && break; sleep 0.5; done
moved || fail "the splitter did not follow the drag to x = 600"
# Its close button ends 3 units from the right of the 20-unit caption bar.
person xdotool mousemove 885 111 click 1
for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "still running after its close button was clicked"
wait "$pid" || fail "exit code $?"
[ "$(sha256sum < "$drive/Qxe/Conf.qxe")" = "$before" ] || fail "the configuration file changed"
[ ! -e "$drive/Qxe/.Conf.qxe.saving-$dead-1" ] || fail "a killed save's temporary is still there"
echo "StartAndClose: passed"
