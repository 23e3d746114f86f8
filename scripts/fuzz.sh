#!/usr/bin/env bash
# fuzz.sh BUILD_DIR SECONDS: runs each fuzz target for a bounded time from its seed corpus.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$1; seconds=$2
for target in "$build"/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target"); name=${name#fuzz_}
  corpus="$build/fuzz/corpus-$name"
  mkdir -p "$corpus"
  seeds="$root/fuzz/seeds/$name"
  [ -d "$seeds" ] && cp -n "$seeds"/* "$corpus"/ 2>/dev/null || true
  echo "-- fuzz_$name for ${seconds}s"
  if ! "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      "$corpus" 2>&1 | tail -n 15; then
    echo "fuzz_$name failed"
    exit 1
  fi
done
