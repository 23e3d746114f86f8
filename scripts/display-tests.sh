#!/usr/bin/env bash
# display-tests.sh BUILD_DIR: runs the tests that need a real display (they skip themselves
# under the offscreen driver) and the end-to-end scripts of tests/e2e on a private Xvfb server
# with SDL's X11 driver.
set -euo pipefail
build=$1
source "$(dirname "$0")/private-xvfb.sh"

# Test program, and the suites in it that need a display.
suites=(
  "test_platform:ModalBoxTest.*:ModalBoxRealTimeTest.*:DisplayDragTest.*"
  "test_ide:IdeDisplayTest.*"
)
status=0
for entry in "${suites[@]}"; do
  program=${entry%%:*}
  filter=${entry#*:}
  [ -x "$build/tests/$program" ] || continue
  echo "-- $program $filter on $display"
  DISPLAY=$display SDL_VIDEODRIVER=x11 "$build/tests/$program" --gtest_filter="$filter" \
    --gtest_brief=1 || status=1
done

# End to end: the real programs, driven with xdotool.
root=$(cd "$(dirname "$0")/.." && pwd)
for script in "$root"/tests/e2e/*.sh; do
  [ -x "$build/qxworks" ] || break
  echo "-- $(basename "$script") on $display"
  DISPLAY=$display "$script" "$build" || status=1
done
exit $status
