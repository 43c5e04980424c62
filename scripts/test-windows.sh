#!/usr/bin/env bash
# Cross-builds the Windows programs with MinGW-w64 and runs their tests under Wine, in a
# throw-away Wine prefix inside build/windows; then the Linux vantor records the Windows
# fakegame.exe running under Wine, the way GPL is driven on Linux.
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=$(nproc)
build=build/windows
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$jobs"
# The Linux side of the Wine test; already built when scripts/test.sh ran first.
cmake --preset default >/dev/null
cmake --build --preset default -j "$jobs" --target logger_tests

export WINEPREFIX="$PWD/$build/wineprefix" WINEDEBUG=-all
wineserver=$(command -v wineserver || ls /usr/lib/wine/wineserver64 /usr/lib/wine/wineserver 2>/dev/null | head -n 1)
# The dialog tests create windows: Wine needs an X server, a virtual one here.
xvfb=
if command -v Xvfb >/dev/null; then
  displayfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1920x1200x24 -nolisten tcp -noreset 3>"$displayfile" 2>/dev/null &
  xvfb=$!
  for _ in $(seq 50); do [[ -s $displayfile ]] && break; sleep 0.1; done
  export DISPLAY=:$(cat "$displayfile")
  rm -f "$displayfile"
else
  echo "Xvfb not installed: the tests that create windows need a DISPLAY of their own"
fi
# A server that stays up between programs saves each of them Wine's start-up of ~3 s.
"$wineserver" -k 2>/dev/null || true
# The server runs in the prefix's folder, which a fresh build does not have yet.
mkdir -p "$WINEPREFIX"
"$wineserver" -p </dev/null >/dev/null 2>&1
trap '"$wineserver" -k || true; [[ -n $xvfb ]] && kill "$xvfb" 2>/dev/null || true' EXIT
# Wine's background services outlive the program that started them; they get no terminal
# or pipe of ours, or whoever reads this script's output would wait for them. The first
# start builds the prefix (about 10 s); later runs reuse it.
"$build/wine-run.sh" wineboot --init </dev/null >/dev/null 2>&1

ctest --preset windows -j "$jobs"
LAPVISTA_WINDOWS_BUILD="$PWD/$build" build/default/bin/logger_tests --gtest_filter='WineGame.*'

# lapvista.exe against the Linux picture of the same commands: needs gplsim and lapvista-cli
# from the Linux build.
cmake --preset default >/dev/null
cmake --build build/default --target gplsim lapvista-cli -j "$jobs" >/dev/null
tests/win32/run_lapvista_exe_test.sh build/default/bin/gplsim build/default/bin/lapvista-cli \
  "$build/bin/lapvista.exe" "$build/wine-run.sh" </dev/null
