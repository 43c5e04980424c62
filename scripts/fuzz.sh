#!/usr/bin/env bash
# Builds the libFuzzer targets and runs each for a bounded time: scripts/fuzz.sh [SECONDS]
# (per target, default 20). Each target starts from its committed seeds in
# fuzz/<area>/seeds/<target> (made by build/fuzz/bin/make-fuzz-seeds fuzz) and from what
# earlier runs found in build/fuzz/corpus/<target>; new findings go to the latter only.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)"

shopt -s nullglob
targets=(build/fuzz/bin/fuzz_*)
for target in "${targets[@]}"; do
  [[ -x $target ]] || continue
  name=$(basename "$target")
  corpus="build/fuzz/corpus/$name"
  mkdir -p "$corpus"
  seeds=(fuzz/*/seeds/"$name")
  echo "fuzzing $name for ${seconds}s (${#seeds[@]} seed folder)"
  "$target" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=2048 \
    -artifact_prefix="build/fuzz/$name-" "$corpus" "${seeds[@]}" \
    >"build/fuzz/$name.log" 2>&1 ||
    { tail -n 60 "build/fuzz/$name.log"; exit 1; }
  # The last status line: inputs run, coverage, corpus and inputs per second.
  grep -E '^#[0-9]+' "build/fuzz/$name.log" | tail -n 1
done
echo "fuzzers: ${#targets[@]} run, none failed"
