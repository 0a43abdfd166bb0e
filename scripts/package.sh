#!/usr/bin/env bash
# Makes the Debian package of Vantrelo: a Release build in build-release/,
# then CPack. The last line printed is the package's path. scripts/setup.sh
# installs what this needs (dpkg-dev for the library dependencies).
set -euo pipefail
cd "$(dirname "$0")/.."

build=build-release
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DVANTRELO_BUILD_TESTS=OFF -DVANTRELO_BUILD_BENCH=OFF "${launcher[@]}"
cmake --build "$build" --parallel "$(nproc)"

rm -f "$build"/vantrelo_*.deb
(cd "$build" && cpack -G DEB)
packages=("$PWD/$build"/vantrelo_*.deb)
if [ ! -f "${packages[0]}" ]; then
  echo "CPack made no package in $build/" >&2
  exit 1
fi
echo "${packages[0]}"
