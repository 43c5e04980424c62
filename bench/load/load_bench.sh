#!/usr/bin/env bash
# Whole-process load times of lapvista-cli against the floor of reading the same bytes from
# the page cache with cat, for a replay with version-7 telemetry and for a saved-laps file
# holding the same samples; plus the peak memory of each load.
#   bench/load/load_bench.sh [BIN_DIR] [FRAMES] [RUNS]
set -euo pipefail
bin=${1:-build/release/bin}
frames=${2:-500000}
runs=${3:-5}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$bin/gplsim" --out "$work" --frames "$frames" --fps 60 --tel-version 7 --name bench --seed 3 >/dev/null
replay=$work/gpl/replay/bench.rpy
tel=${replay%rpy}tel
tmr=$work/gpl/replay/bench-all.tmr
"$bin/lapvista-cli" --ini-dir "$work" -e "load $replay" -e "save $tmr" >/dev/null

# Median wall time in milliseconds of a command run $runs times (after one warm-up run).
median_ms() {
  local times=()
  "$@" >/dev/null 2>&1
  for _ in $(seq "$runs"); do
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s%N)
    times+=($(((end - start) / 1000)))
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {printf "%.1f", a[int((NR+1)/2)]/1000}'
}

peak_mb() {
  /usr/bin/time -f '%M' "$@" 2>&1 >/dev/null | tail -n 1 | awk '{printf "%.0f", $1/1024}'
}

cat_both() { cat "$replay" "$tel" >/dev/null; }
cat_tmr() { cat "$tmr" >/dev/null; }
load_replay() { "$bin/lapvista-cli" --ini-dir "$work" -e "load $replay"; }
load_tmr() { "$bin/lapvista-cli" --ini-dir "$work" -e "load $tmr"; }

size_mb() { du -m "$@" | awk '{s+=$1} END {print s}'; }
echo "frames: $frames   replay+tel: $(size_mb "$replay" "$tel") MB   tmr: $(size_mb "$tmr") MB   runs: $runs (median)"
c1=$(median_ms cat_both)
l1=$(median_ms load_replay)
c2=$(median_ms cat_tmr)
l2=$(median_ms load_tmr)
echo "cat replay+tel:    ${c1} ms"
echo "load replay+tel:   ${l1} ms   ratio $(awk -v a="$l1" -v b="$c1" 'BEGIN {printf "%.1f", a/b}')   peak $(peak_mb "$bin/lapvista-cli" --ini-dir "$work" -e "load $replay") MB"
echo "cat tmr:           ${c2} ms"
echo "load tmr:          ${l2} ms   ratio $(awk -v a="$l2" -v b="$c2" 'BEGIN {printf "%.1f", a/b}')   peak $(peak_mb "$bin/lapvista-cli" --ini-dir "$work" -e "load $tmr") MB"
