#!/usr/bin/env bash
# Builds the Windows programs (release, cross-built with MinGW-w64) and writes
# dist/vantor-lapvista-windows-x86_64.zip: vantor.exe, lapvista.exe, example MOD.ini and
# Vantor.ini, and README.txt on how to use them.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup-debian.sh
build=build/windows
cmake --preset windows >/dev/null
# The viewer's target is lapvista-win32; its program is lapvista.exe.
cmake --build --preset windows -j "$(nproc)" --target vantor lapvista-win32
programs=(vantor lapvista)

staging=$(mktemp -d)
trap 'rm -rf "$staging"' EXIT
folder="$staging/vantor-lapvista"
mkdir -p "$folder"
for program in "${programs[@]}"; do
  # Symbols are of no use to the drivers and double the size.
  x86_64-w64-mingw32-strip -o "$folder/$program.exe" "$build/bin/$program.exe"
done
cp packaging/windows/MOD.ini packaging/windows/Vantor.ini packaging/windows/README.txt "$folder/"

mkdir -p dist
archive="$PWD/dist/vantor-lapvista-windows-x86_64.zip"
rm -f "$archive"
(cd "$staging" && zip -q -r -X "$archive" vantor-lapvista)
unzip -l "$archive"
