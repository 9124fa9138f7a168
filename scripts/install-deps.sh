#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need when they are missing (pkgconf,
# binutils, file and dpkg-dev for the packaging test and cpack -G DEB).
set -euo pipefail
# With --build, only what the library, the program, the tests' and the benchmarks' builds need.
pkgs=(cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev libfreetype-dev
      libfontconfig-dev fonts-dejavu-core libpng-dev libx11-dev libxext-dev nlohmann-json3-dev
      libsimdjson-dev)
if [ "${1:-}" != "--build" ]; then
  pkgs+=(clang libclang-rt-14-dev clang-format xvfb xdotool xclip xauth pkgconf binutils file dpkg-dev)
fi
need=()
for pkg in "${pkgs[@]}"; do
  dpkg -s "$pkg" >/dev/null 2>&1 || need+=("$pkg")
done
[ ${#need[@]} -eq 0 ] && exit 0
echo "installing: ${need[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${need[@]}" >/dev/null
