#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, and only those that are missing.
# Idempotent: a machine that already has everything is left alone and nothing is fetched.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config python3 clang-format
  clang libclang-rt-dev             # fuzz targets (libFuzzer) and sanitizer runtimes
  libgtest-dev libgmock-dev libbenchmark-dev
  libpng-dev zlib1g-dev
  libfreetype-dev libfontconfig-dev fonts-dejavu-core
  libsndfile1-dev libcli11-dev      # tavo-host: sound files and its command line
  dpkg-dev                          # apt-get source: libpng's and libsndfile's sources
  # The Windows build: MinGW-w64 with the posix thread model, static zlib, and the Wine suite
  # (the 64-bit loader only; never wine32), its X display and its screenshots.
  gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  gcc-mingw-w64-i686-posix g++-mingw-w64-i686-posix binutils-mingw-w64-i686
  libz-mingw-w64-dev wine64 xvfb x11-apps imagemagick
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing missing packages: ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
  echo "error: packages are missing and installing them needs root: ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
