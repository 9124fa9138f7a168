#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need when they are missing (pkgconf,
# binutils, file and dpkg-dev for the packaging test and cpack -G DEB).
set -euo pipefail
need=()
for pkg in cmake ninja-build g++ clang libclang-rt-14-dev clang-format libgtest-dev libgmock-dev \
           libbenchmark-dev libfreetype-dev libfontconfig-dev fonts-dejavu-core libpng-dev \
           libx11-dev libxext-dev nlohmann-json3-dev libsimdjson-dev xvfb xdotool xauth pkgconf binutils file dpkg-dev; do
  dpkg -s "$pkg" >/dev/null 2>&1 || need+=("$pkg")
done
[ ${#need[@]} -eq 0 ] && exit 0
echo "installing: ${need[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${need[@]}" >/dev/null
