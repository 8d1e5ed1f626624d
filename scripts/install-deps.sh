#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, and only those that are missing.
# Idempotent: a machine that already has everything is left alone and nothing is fetched.
# With --bench it adds the peer plug-ins the benchmarks compare with.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config python3 clang-format
  clang libclang-rt-dev             # fuzz targets (libFuzzer) and sanitizer runtimes
  libgtest-dev libgmock-dev libbenchmark-dev
  libpng-dev zlib1g-dev
  libfreetype-dev libfontconfig-dev fonts-dejavu-core
  libsndfile1-dev libcli11-dev      # tavo-host: sound files and its command line
  lv2-dev                           # the LV2 bundle: headers, and the schemas it validates against
  lilv-utils sordi                  # lv2info, lv2apply, lv2bench; sord_validate
  libx11-dev                        # the editor's X11 window (the LV2 UI)
  jalv jackd2 xvfb x11-apps x11-utils xdotool  # the editor in jalv under Xvfb, its screenshot
  dpkg-dev                          # apt-get source: libpng's and libsndfile's sources
  ardour                            # its VST 3 scanner and headless session check the VST 3 bundle
  lintian man-db                    # the Debian package: checked by lintian, its manual page read
  # The Windows build: MinGW-w64 with the posix thread model, static zlib, and the Wine suite
  # (the 64-bit loader, and the 32-bit one from the i386 architecture below), its X display and
  # its screenshots.
  gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  gcc-mingw-w64-i686-posix g++-mingw-w64-i686-posix binutils-mingw-w64-i686
  libz-mingw-w64-dev wine64 wine32:i386 imagemagick
)

# `install-deps.sh --bench`: the peers `make bench` measures the LV2 plug-in against.
if [ "${1:-}" = "--bench" ]; then
  packages+=(calf-plugins x42-plugins)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

# The 32-bit Wine loader (wine32:i386) comes from the i386 architecture, which dpkg must know
# before apt can see its packages.
need_i386=0
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  need_i386=1
fi

if [ ${#missing[@]} -eq 0 ] && [ $need_i386 -eq 0 ]; then
  exit 0
fi

echo "Installing missing packages: ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
  echo "error: packages are missing and installing them needs root: ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
if [ $need_i386 -eq 1 ]; then
  echo "Adding the i386 architecture (the 32-bit Wine loader)"
  dpkg --add-architecture i386
fi
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
