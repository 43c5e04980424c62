#!/usr/bin/env bash
# Whole-process load times of lapvista-cli against the floor of reading the same bytes from
# the page cache with cat, in the same run, for a replay with version-7 telemetry and for a
# saved-laps file of all its laps; two drives (about 420 000 and 500 000 samples). The load
# runs as the window runs it: the picture drawn into the raster, no event text
# (--no-draw-events). Then the peak memory of each load and the split of a load's time into
# its stages (load_split, one fresh process per run), for the saved laps also with the stores
# in small pages, with what the load holds after its picture: memory of its own, and pages of
# the files it mapped, which are the system's cache of them.
#   bench/load/load_bench.sh [BIN_DIR] [RUNS]
set -euo pipefail
bin=${1:-build/release/bin}
runs=${2:-7}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# "median (min-max)" of the numbers on standard input.
stats() {
  sort -n | awk '{a[NR]=$1} END {printf "%.1f (%.1f-%.1f)", a[int((NR+1)/2)], a[1], a[NR]}'
}
median() {
  sort -n | awk '{a[NR]=$1} END {printf "%.1f", a[int((NR+1)/2)]}'
}

# Wall milliseconds of each of $runs runs of a command, one a line, after one warm-up run.
wall_ms() {
  "$@" >/dev/null 2>&1
  for _ in $(seq "$runs"); do
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s%N)
    echo $(((end - start) / 1000))
  done | awk '{printf "%.3f\n", $1/1000}'
}

# Processor milliseconds (user + system) of each run.
cpu_ms() {
  for _ in $(seq "$runs"); do
    /usr/bin/time -f '%U %S' "$@" 2>&1 >/dev/null | tail -n 1 | awk '{printf "%.0f\n", ($1+$2)*1000}'
  done
}

peak_mb() {
  /usr/bin/time -f '%M' "$@" 2>&1 >/dev/null | tail -n 1 | awk '{printf "%.0f", $1/1024}'
}

size_mb() { du -m "$@" | awk '{s+=$1} END {print s}'; }

bench_drive() {
  local label=$1
  shift
  local dir=$work/$label
  "$bin/gplsim" --out "$dir" "$@" --tel-version 7 --name bench --seed 3 >/dev/null
  local replay=$dir/gpl/replay/bench.rpy
  local tel=${replay%rpy}tel
  local tmr=$dir/gpl/replay/bench-all.tmr
  "$bin/lapvista-cli" --no-draw-events --ini-dir "$dir" -e "load $replay" -e "save $tmr" >/dev/null
  # The files were just written: their pages go to the disk now, not while the runs are timed.
  sync
  local samples
  samples=$("$bin/load_split" "$dir" "$tmr" | awk '/^samples/ {print $2}')

  cat_both() { cat "$replay" "$tel" >/dev/null; }
  cat_tmr() { cat "$tmr" >/dev/null; }
  load_replay() { "$bin/lapvista-cli" --no-draw-events --ini-dir "$dir" -e "load $replay"; }
  load_tmr() { "$bin/lapvista-cli" --no-draw-events --ini-dir "$dir" -e "load $tmr"; }

  echo "== $label: $samples samples; replay+tel $(size_mb "$replay" "$tel") MB, tmr $(size_mb "$tmr") MB; $runs runs, median (min-max)"
  local c1 l1 c2 l2
  c1=$(wall_ms cat_both)
  l1=$(wall_ms load_replay)
  c2=$(wall_ms cat_tmr)
  l2=$(wall_ms load_tmr)
  local m1 m2 n1 n2
  m1=$(median <<<"$c1")
  n1=$(median <<<"$l1")
  m2=$(median <<<"$c2")
  n2=$(median <<<"$l2")
  echo "cat replay+tel   $(stats <<<"$c1") ms"
  echo "load replay+tel  $(stats <<<"$l1") ms   ratio $(awk -v a="$n1" -v b="$m1" 'BEGIN {printf "%.1f", a/b}')   cpu $(cpu_ms "$bin/lapvista-cli" --no-draw-events --ini-dir "$dir" -e "load $replay" | stats) ms   peak $(peak_mb "$bin/lapvista-cli" --no-draw-events --ini-dir "$dir" -e "load $replay") MB"
  echo "cat tmr          $(stats <<<"$c2") ms"
  echo "load tmr         $(stats <<<"$l2") ms   ratio $(awk -v a="$n2" -v b="$m2" 'BEGIN {printf "%.1f", a/b}')   cpu $(cpu_ms "$bin/lapvista-cli" --no-draw-events --ini-dir "$dir" -e "load $tmr" | stats) ms   peak $(peak_mb "$bin/lapvista-cli" --no-draw-events --ini-dir "$dir" -e "load $tmr") MB"

  split "$dir" "$replay"
  split "$dir" "$tmr"
  split "$dir" "$tmr" --no-huge-pages
}

# The stages of one load, each run in a fresh process: wall ms, processor ms, page faults.
split() {
  local dir=$1 file=$2
  shift 2
  echo "stages of a load of ${file##*/} $*(wall ms median (min-max) | cpu ms | page faults):"
  local out=$work/split.txt
  : >"$out"
  for _ in $(seq "$runs"); do "$bin/load_split" "$@" "$dir" "$file" >>"$out"; done
  for stage in $(awk '$2 == "wall" {print $1}' "$out" | awk '!seen[$0]++'); do
    printf '  %-11s %s | %s | %s\n' "$stage" \
      "$(awk -v s="$stage" '$1 == s {print $3}' "$out" | stats)" \
      "$(awk -v s="$stage" '$1 == s {print $6}' "$out" | median)" \
      "$(awk -v s="$stage" '$1 == s {print $9}' "$out" | median)"
  done
  echo "  memory after the picture: own $(awk '$1 == "memory" {print $3}' "$out" | median) MB," \
    "pages of mapped files $(awk '$1 == "memory" {print $7}' "$out" | median) MB"
}

echo "machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
bench_drive d420k --laps 116 --fps 36
bench_drive d500k --frames 500000 --fps 60
