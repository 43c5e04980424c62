#!/usr/bin/env bash
# Sets up the machine, then builds and runs every test: the debug build, the same suite
# under AddressSanitizer and UndefinedBehaviorSanitizer, and a short run of each fuzzer.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup-debian.sh
jobs=$(nproc)

cmake --preset default >/dev/null
cmake --build --preset default -j "$jobs"
ctest --preset default -j "$jobs"

cmake --preset sanitizers >/dev/null
cmake --build --preset sanitizers -j "$jobs"
ctest --preset sanitizers -j "$jobs"

scripts/fuzz.sh "${FUZZ_SECONDS:-20}"

scripts/test-windows.sh
