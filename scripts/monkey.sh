#!/usr/bin/env bash
# monkey.sh [SEED] [EVENTS] [BUILD_DIR]: the long monkey run on the whole environment, by hand.
# Defaults: a seed from the clock, 100000 events, the normal build. Prints the run's figures;
# a fault ends it with the seed and event number to replay (QX_MONKEY_TRACE=1 lists each event).
# Every check is on; QX_MONKEY_AWAITED=off leaves out those of behaviour added late (see
# BoundedOptions in tests/ide/MonkeyTest.cpp).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seed=${1:-$(date +%s)}
events=${2:-100000}
build=${3:-$root/build}
cmake --build "$build" --target test_ide pictures >/dev/null
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy
echo "monkey: seed $seed, $events events, build $build"
start=$(date +%s)
status=0
QX_MONKEY_SEED=$seed QX_MONKEY_EVENTS=$events \
  "$build/tests/test_ide" --gtest_filter=Monkey.LongRun || status=$?
echo "monkey: $(( $(date +%s) - start )) s, exit $status"
exit $status
