#!/usr/bin/env bash
# Makes Vantrelo's Windows packages on Linux: a Release cross build with
# MinGW-w64 in build-windows-release/, apart from the test build, then the
# portable zip and the setup program (NSIS). Prints the zip's path, then the
# setup program's path last. scripts/setup.sh installs the toolchain, Wine
# and NSIS.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-prefix.sh

build=build-windows-release
# The hand pointer's tool is a Windows program run at build time, under
# Wine, in a prefix of this build's own.
use_wine_prefix "$PWD/$build/wine-prefix"

launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
# The Qt window and the suites are Linux-only; the Win32 window comes with
# the gateway.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$wine_emulator" \
  -DVANTRELO_BUILD_APP=OFF -DVANTRELO_BUILD_TESTS=OFF -DVANTRELO_BUILD_BENCH=OFF \
  "${launcher[@]}"
rm -f "$build"/vantrelo-*-setup.exe "$build"/vantrelo-*-windows-x64.zip
cmake --build "$build" --target windows_packages

zips=("$PWD/$build"/vantrelo-*-windows-x64.zip)
setups=("$PWD/$build"/vantrelo-*-setup.exe)
if [ ! -f "${zips[0]}" ] || [ ! -f "${setups[0]}" ]; then
  echo "The build made no Windows packages in $build/" >&2
  exit 1
fi
echo "${zips[0]}"
echo "${setups[0]}"
