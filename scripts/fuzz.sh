#!/usr/bin/env bash
# fuzz.sh BUILD_DIR SECONDS: runs each fuzz target for a bounded time. Each target's corpus is
# kept in fuzz/corpus/<target>/ (committed), so every run starts where the last one ended; the
# seeds in fuzz/seeds/<target>/ join it. After the run the corpus is merged down to the inputs
# that add coverage, none larger than 64 KiB, so it stays small enough to commit.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$1; seconds=$2
max_bytes=65536
for target in "$build"/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target"); name=${name#fuzz_}
  corpus="$root/fuzz/corpus/$name"
  mkdir -p "$corpus"
  seeds="$root/fuzz/seeds/$name"
  [ -d "$seeds" ] && cp -n "$seeds"/* "$corpus"/ 2>/dev/null || true
  # Files of the system named in fuzz/seeds/<target>.headers (below /usr/include) are seeds too,
  # read from a folder of their own that is never merged into the committed corpus.
  system_seeds=()
  if [ -f "$seeds.headers" ]; then
    system_dir=$(mktemp -d)
    while read -r file; do
      case "$file" in ''|'#'*) continue ;; esac
      [ -f "/usr/include/$file" ] && cp "/usr/include/$file" "$system_dir/$(echo "$file" | tr / _)"
    done < "$seeds.headers"
    system_seeds=("$system_dir")
  fi
  echo "-- fuzz_$name for ${seconds}s"
  if ! "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -max_len="$max_bytes" "$corpus" "${system_seeds[@]}" 2>&1 | tail -n 15; then
    echo "fuzz_$name failed"
    exit 1
  fi
  merged=$(mktemp -d)
  find "$corpus" -type f -size +"$max_bytes"c -delete
  if "$target" -merge=1 -timeout=10 -rss_limit_mb=2048 -max_len="$max_bytes" "$merged" "$corpus" \
      > "$merged.log" 2>&1; then
    rm -f "$corpus"/*
    cp "$merged"/* "$corpus"/ 2>/dev/null || true
  else
    echo "fuzz_$name: merging the corpus failed; it is kept as it grew"
    tail -n 5 "$merged.log"
  fi
  rm -rf "$merged" "$merged.log" "${system_seeds[@]}"
  echo "-- fuzz_$name corpus: $(ls "$corpus" | wc -l) inputs, $(du -sk "$corpus" | cut -f1) KiB"
done
