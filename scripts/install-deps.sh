#!/usr/bin/env bash
# Installs what the build and the tests need on Debian 12, only what is missing.
# Run as root (or through sudo).
set -euo pipefail

packages=(
  cmake ninja-build g++ git python3
  g++-mingw-w64-i686 mingw-w64-i686-dev g++-mingw-w64-x86-64 mingw-w64-x86-64-dev
  wine wine32:i386 wine64 fonts-wine
  xvfb xauth imagemagick
  googletest libbenchmark-dev libtomlplusplus-dev libcli11-dev nsis clang-14 libclang-rt-14-dev zlib1g-dev
)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  as_root dpkg --add-architecture i386
fi
as_root apt-get update -q
as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
