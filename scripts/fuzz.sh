#!/usr/bin/env bash
# Builds the libFuzzer targets and runs each for a bounded time (seconds, default 20).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)"

shopt -s nullglob
targets=(build/fuzz/bin/fuzz_*)
for target in "${targets[@]}"; do
  [[ -x $target ]] || continue
  corpus="build/fuzz/corpus/$(basename "$target")"
  mkdir -p "$corpus"
  echo "fuzzing $(basename "$target") for ${seconds}s"
  "$target" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=2048 \
    -artifact_prefix="build/fuzz/$(basename "$target")-" "$corpus" \
    >"build/fuzz/$(basename "$target").log" 2>&1 ||
    { tail -n 60 "build/fuzz/$(basename "$target").log"; exit 1; }
  tail -n 1 "build/fuzz/$(basename "$target").log"
done
echo "fuzzers: ${#targets[@]} run, none failed"
