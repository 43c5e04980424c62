#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need; does nothing when
# they are all present.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev clang-format
  libgtest-dev libgmock-dev libbenchmark-dev libcairo2-dev libcli11-dev time fonts-dejavu-core
  # The desktop window: FLTK (CMake's FLTK module also wants fluid), and a virtual X server,
  # xdotool and ImageMagick for its tests.
  libfltk1.3-dev fluid xvfb xauth xdotool imagemagick
  # The Windows build: MinGW-w64 cross compiler, GoogleTest sources for it, and Wine for
  # running its programs and tests here.
  g++-mingw-w64-x86-64-posix googletest wine64 zip unzip
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done

if ((${#missing[@]} > 0)); then
  sudo_cmd=()
  [[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
  echo "Installing: ${missing[*]}"
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
