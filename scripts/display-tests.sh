#!/usr/bin/env bash
# display-tests.sh BUILD_DIR: runs the tests that need a real display (they skip themselves
# under the offscreen driver) and the end-to-end scripts of tests/e2e on a private Xvfb server
# with SDL's X11 driver, then the main sessions on a Wayland compositor through Xwayland.
set -euo pipefail
build=$1
source "$(dirname "$0")/private-xvfb.sh"

# Test program, and the suites in it that need a display.
suites=(
  "test_platform:ModalBoxTest.*:ModalBoxRealTimeTest.*:DisplayDragTest.*"
  "test_ide:IdeDisplayTest.*:Monkey.RealReportBoxes"
)
status=0
for entry in "${suites[@]}"; do
  program=${entry%%:*}
  filter=${entry#*:}
  [ -x "$build/tests/$program" ] || continue
  echo "-- $program $filter on $display"
  DISPLAY=$display SDL_VIDEODRIVER=x11 timeout 900 "$build/tests/$program" --gtest_filter="$filter" \
    --gtest_brief=1 || status=1
done

# End to end: the real programs, driven with xdotool.
root=$(cd "$(dirname "$0")/.." && pwd)
for script in "$root"/tests/e2e/*.sh; do
  [ -x "$build/qxworks" ] || break
  echo "-- $(basename "$script") on $display"
  DISPLAY=$display "$script" "$build" || status=1
done

# On a Wayland desktop: the sessions again, the programs on Xwayland under weston with SDL's X11
# driver. The compositor shows its output in a window of the Xvfb server and takes that server's
# pointer and keyboard as its seat, so xdotool's input there reaches the programs as a person's
# would; a headless weston offers no seat, and Xwayland aborts on the first pointer motion.
if [ -x "$build/qxworks" ]; then
  for script in StartAndClose Environment; do
    echo "-- $script.sh on Wayland (Xwayland under weston)"
    (
      source "$root/scripts/private-weston.sh" x11
      DISPLAY=$xwayland WAYLAND_DISPLAY=$wayland_display QX_SCREEN_DISPLAY=$display \
        QX_SHOTS="$build/e2e/wayland" "$root/tests/e2e/$script.sh" "$build"
    ) || status=1
  done
  # No X server and a headless compositor with no seat: said and ended, not a crash in SDL.
  echo "-- NoDisplay.sh on a headless Wayland compositor"
  (
    source "$root/scripts/private-weston.sh" headless
    WAYLAND_DISPLAY=$wayland_display "$root/tests/e2e/NoDisplay.sh" "$build"
  ) || status=1
fi
exit $status
