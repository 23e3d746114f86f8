#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test: the normal build, the
# AddressSanitizer + UBSan build, and a short bounded run of each fuzz target.
# Ends non-zero on the first failure.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy
jobs=$(nproc)

echo "== normal build"
"$root/scripts/build.sh" "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
ctest --test-dir "$root/build" --output-on-failure -j"$jobs"

echo "== AddressSanitizer + UBSan build"
"$root/scripts/build.sh" "$root/build-asan" -DCMAKE_BUILD_TYPE=Debug -DQX_SANITIZE=ON -DQX_BENCH=OFF
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir "$root/build-asan" --output-on-failure -j"$jobs"

if ls "$root"/fuzz/*.cpp > /dev/null 2>&1; then
  echo "== fuzz targets"
  "$root/scripts/build.sh" "$root/build-fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DQX_FUZZ=ON -DQX_TESTS=OFF -DQX_BENCH=OFF
  "$root/scripts/fuzz.sh" "$root/build-fuzz" "${QX_FUZZ_SECONDS:-60}"
fi
echo "all tests passed"
