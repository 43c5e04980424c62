#!/usr/bin/env bash
# Time from starting lapvista to its first painted window: lapvista prints "ready" once the X
# server has painted the window (no file, no commands). Runs under its own Xvfb unless DISPLAY
# is set. Usage: window_startup.sh [BIN_DIR] [RUNS]
set -euo pipefail
bin=$(cd "${1:-build/release/bin}" && pwd)
runs=${2:-10}
if [[ -z "${DISPLAY:-}" ]]; then
  exec xvfb-run -a -s "-screen 0 1920x1200x24 -nolisten tcp" "$0" "$bin" "$runs"
fi
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
times=()
for _ in $(seq "$runs"); do
  start=$(date +%s%N)
  coproc LAPVISTA { exec "$bin/lapvista" --ini-dir "$folder"; }
  read -r line <&"${LAPVISTA[0]}"
  end=$(date +%s%N)
  kill "$LAPVISTA_PID"
  wait "$LAPVISTA_PID" 2>/dev/null || true
  [[ $line == ready ]] || { echo "unexpected output: $line"; exit 1; }
  times+=($(((end - start) / 1000)))
done
printf '%s\n' "${times[@]}" | sort -n | awk '{t[NR] = $1} END {
  printf "start to first painted window over %d runs: median %.1f ms, best %.1f ms, worst %.1f ms\n",
         NR, t[int((NR + 1) / 2)] / 1000, t[1] / 1000, t[NR] / 1000 }'
