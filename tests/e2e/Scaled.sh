#!/usr/bin/env bash
# qxworks at scale factor 2 (QXWORKS_SCALE=2) on a screen twice as large shows exactly what
# it shows at factor 1, every pixel a 2 x 2 block, and a press at the doubled position hits the
# same control: the About button opens the About window in both, its OK button closes it, and
# the close button ends both with exit code 0. The screenshots of both are kept in
# BUILD_DIR/e2e/Scaled/.
# Usage: Scaled.sh BUILD_DIR   (DISPLAY must name a running X server of 1024 x 768; a second
# one of 2048 x 1536 is started for factor 2)
set -euo pipefail
build=$(cd "$1" && pwd)
root=$(cd "$(dirname "$0")/../.." && pwd)
shots=$build/e2e/Scaled
rm -rf "$shots"
mkdir -p "$shots"
small=$DISPLAY
xvfb_size=2048x1536 source "$root/scripts/private-xvfb.sh"
large=$display
drive=$(mktemp -d)
pid=""
cleanup() { [ -n "$pid" ] && kill "$pid" 2>/dev/null; kill "$xvfb" 2>/dev/null; rm -rf "$drive"; }
trap cleanup EXIT
mkdir -p "$drive/Qxe/Pics"
cp -r "$build/pics/." "$drive/Qxe/Pics/"
fail() { echo "Scaled: $1"; exit 1; }

# The main window's place on the screen, its 800 x 600 units from (100, 100), and a click at a
# point in units, both at the session's factor.
shot() {
  local f=$factor
  import -window root -crop $((800 * f))x$((600 * f))+$((100 * f))+$((100 * f)) +repage \
    "$shots/$1-$f.png"
}
click() { xdotool mousemove $(($1 * factor)) $(($2 * factor)) click 1; }

# session FACTOR DISPLAY: the main window at (100, 100) units, its About button at (515, 134),
# its close button at (885, 111), all FACTOR times further on the screen.
session() {
  factor=$1
  export DISPLAY=$2
  QXWORKS_SCALE=$factor QXWORKS_DRIVE_C=$drive SDL_VIDEODRIVER=x11 "$build/qxworks" 2>> "$drive/stderr" &
  pid=$!
  sleep 2
  kill -0 "$pid" 2>/dev/null || fail "factor $factor: qxworks did not start: $(cat "$drive/stderr")"
  shot main
  click 515 134
  sleep 1
  shot about
  # The About window's OK button, at (504, 374), closes it; then the main window's close button.
  click 504 374
  sleep 0.5
  shot closed
  click 885 111
  for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$pid" 2>/dev/null && fail "factor $factor: still running after the close button"
  local status=0
  wait "$pid" || status=$?
  pid=""
  [ "$status" -eq 0 ] || fail "factor $factor: exit code $status"
}

session 1 "$small"
session 2 "$large"
for stage in main about closed; do
  convert "$shots/$stage-1.png" -sample 200% "$shots/$stage-1-doubled.png"
  differ=$(compare -metric AE "$shots/$stage-1-doubled.png" "$shots/$stage-2.png" null: 2>&1 ||
    true)
  [ "$differ" = "0" ] || fail "$stage: factor 2 is not factor 1 doubled ($differ pixels differ)"
done
cmp -s "$shots/main-1.png" "$shots/about-1.png" && fail "the About button opened nothing"
cmp -s "$shots/about-1.png" "$shots/closed-1.png" && fail "the OK button left the About window"
echo "Scaled: passed (screenshots in $shots)"
