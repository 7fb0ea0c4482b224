#!/usr/bin/env bash
# Installs every Debian package Skirrow needs to build, run, test and package (dpkg-dev and
# file: cpack finds the package's library dependencies with them).
# Idempotent: packages already present are not fetched again.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev
  zlib1g-dev libminizip-dev libjpeg62-turbo-dev libgif-dev libpng-dev
  libfreetype-dev libfontconfig-dev fonts-liberation libsdl2-dev
  libgles-dev libegl-dev libgles1 libegl1 libegl-mesa0 libgl1-mesa-dri
  libgtest-dev libgmock-dev libbenchmark-dev lib3ds-dev
  xvfb xauth zip unzip
  dpkg-dev file
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all ${#packages[@]} packages present"
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
