#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for the given number of seconds
# (default 60) on a copy of its seed corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
secs="${1:-60}"
shopt -s nullglob
targets=(fuzz/*.cpp)
[ ${#targets[@]} -eq 0 ] && { echo "no fuzz targets"; exit 0; }
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
for src in "${targets[@]}"; do
  name=$(basename "$src" .cpp)
  work="build/fuzz/corpus-$name"
  rm -rf "$work" && mkdir -p "$work"
  [ -d "fuzz/corpus/$name" ] && cp -r "fuzz/corpus/$name/." "$work/"
  echo "fuzzing $name for ${secs}s"
  "build/fuzz/fuzz/fuzz_$name" -max_total_time="$secs" -rss_limit_mb=2048 -print_final_stats=1 "$work"
done
