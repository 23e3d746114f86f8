#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test: the normal build, the
# AddressSanitizer + UBSan build, and a short bounded run of each fuzz target.
# Ends non-zero on the first failure.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy
jobs=$(nproc)
passed=0
failed=0

# run_ctest DIR: runs one build's tests and adds its counts to the totals.
run_ctest() {
  local log
  log=$(mktemp)
  local status=0
  if ! ctest --test-dir "$1" --output-on-failure -j"$jobs" 2>&1 | tee "$log"; then status=1; fi
  local line
  line=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1)
  if [ -n "$line" ]; then
    local bad total
    bad=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<< "$line")
    total=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2/' <<< "$line")
    passed=$((passed + total - bad))
    failed=$((failed + bad))
  fi
  rm -f "$log"
  if [ "$status" -ne 0 ]; then
    echo "tests: $passed passed, $failed failed"
    exit 1
  fi
}

echo "== normal build"
"$root/scripts/build.sh" "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
run_ctest "$root/build"

echo "== real display (Xvfb)"
"$root/scripts/display-tests.sh" "$root/build"

echo "== AddressSanitizer + UBSan build"
"$root/scripts/build.sh" "$root/build-asan" -DCMAKE_BUILD_TYPE=Debug -DQX_SANITIZE=ON -DQX_BENCH=OFF
export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1
run_ctest "$root/build-asan"
unset ASAN_OPTIONS UBSAN_OPTIONS

if ls "$root"/fuzz/*.cpp > /dev/null 2>&1; then
  echo "== fuzz targets"
  "$root/scripts/build.sh" "$root/build-fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DQX_FUZZ=ON -DQX_TESTS=OFF -DQX_BENCH=OFF
  "$root/scripts/fuzz.sh" "$root/build-fuzz" "${QX_FUZZ_SECONDS:-60}"
fi
echo "tests: $passed passed, $failed failed"
