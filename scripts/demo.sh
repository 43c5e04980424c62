#!/usr/bin/env bash
# Sets up the machine, builds the release programs, generates a demo drive with gplsim and
# loads it in lapvista-cli: the lap list and the quick overview appear on the console.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup-debian.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)"

bin=build/release/bin
demo=demo
rm -rf "$demo"
"$bin/gplsim" --out "$demo" --laps 5 --fps 60 --tel-version 7 --seed 1
"$bin/lapvista-cli" --ini-dir "$demo" -e "load $demo/gpl/replay/demo.rpy"
