#!/usr/bin/env bash
# fakegame runs a drive; vantor records it into a version-7 .tel; gplsim builds the replay
# that follows the recording's distances; lapvista-cli loads the replay and attaches the
# logger's telemetry: laps are listed and the quick overview shows speeds.
set -euo pipefail
fakegame=$1 vantor=$2 gplsim=$3 cli=$4

dir=$(mktemp -d)
exe=road$$.exe  # no other test's game matches this name
game=
cleanup() {
  [[ -n $game ]] && kill "$game" 2>/dev/null || true
  rm -rf "$dir"
}
trap cleanup EXIT
mkdir -p "$dir/gpl/replay"
printf '%s\n' "$exe" >"$dir/MOD.ini"
printf '%s/gpl/' "$dir" >"$dir/Vantor.ini"

"$fakegame" --gpl-dir "$dir/gpl" --exe "$exe" --duration 20 --rate 36 --track-length 150 --seed 3 &
game=$!
echo road | "$vantor" --ini-dir "$dir" --start-delay 0 --attach-timeout 20 >"$dir/vantor.log" 2>&1 ||
  { cat "$dir/vantor.log"; exit 1; }
wait "$game" || true
game=
tel=$dir/gpl/replay/road.tel
[[ -s $tel ]] || { echo "no recording at $tel"; cat "$dir/vantor.log"; exit 1; }
version=$(od -An -t d4 -N 4 "$tel" | tr -d ' ')
[[ $version == 7 ]] || { echo "format version $version, expected 7"; exit 1; }

"$gplsim" --out "$dir" --name road --fps 36 --from-tel "$tel" >/dev/null
out=$("$cli" --ini-dir "$dir" -e "load $dir/gpl/replay/road.rpy")
laps=$(grep -c '^list+ ' <<<"$out" || true)
timed=$(grep -cE '^list\+ [0-9]+ +[0-9]+:[0-9]{2}\.[0-9]{3} ' <<<"$out" || true)
speeds=$(grep -cE '^\| +[0-9]+ +[0-9]+:[0-9]{2}\.[0-9]{3} .*km' <<<"$out" || true)
echo "recorded $(( ($(stat -c %s "$tel") - 4) / 164 )) samples; laps listed $laps, timed $timed, with speeds $speeds"
grep '^list+ ' <<<"$out"
(( laps >= 3 && timed >= 1 && speeds >= 1 )) || { grep '^|' <<<"$out" | head -12; exit 1; }
echo "1 passed, 0 failed"
