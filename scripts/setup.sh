#!/usr/bin/env bash
# Installs what Vantrelo needs on Debian 12 and builds it into build/.
# Run as root, or as a user with sudo. Safe to run again.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  build-essential cmake ninja-build pkg-config
  libreoffice-calc libreoffice-dev libreoffice-dev-common
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libgtest-dev googletest zip unzip unicode-data
  fonts-liberation xvfb xauth xdotool x11-utils imagemagick
  g++-mingw-w64-x86-64-posix wine64
  nsis
  dpkg-dev desktop-file-utils file
)

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build build
