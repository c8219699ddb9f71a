#!/usr/bin/env bash
# Install the Debian packages that the build, the tests, the demo and looking at the window
# need. Runs as root (or through sudo when it is there); non-interactive.
#
#   bash scripts/install-packages.sh              the Linux build, tests and demo
#   bash scripts/install-packages.sh --windows    also the Windows cross-build, its tests
#                                                 under Wine and its package
#
# When every package is already installed it does nothing, so the demo starts quickly on a
# machine that has run it before.
set -euo pipefail

PACKAGES=(
  # build
  cmake g++ make pkg-config qt6-base-dev libgl-dev firebird-dev
  # tests (googletest alone is only the sources: libgtest-dev has the libraries and the
  # CMake package)
  googletest libgtest-dev
  # the client library the program loads, and the private server with isql-fb
  libfbclient2 firebird3.0-server firebird3.0-utils
  # what the Firebird 5 server packed beside the repository needs to unpack and run
  xz-utils libtomcrypt1 libtommath1 libtinfo6 libicu72
  # the demo's sample files
  python3
  # the window without a desktop: virtual display, screenshots, clicks and keys, a font
  xvfb xauth imagemagick xdotool fonts-dejavu-core fonts-liberation2
)
if [[ ${1:-} == --windows ]]; then
  PACKAGES+=(
    # the cross-build: MinGW-w64, the host Qt tools the packed Qt for Windows calls, the
    # Firebird headers' archive
    g++-mingw-w64-x86-64-posix mingw-w64-tools ninja-build qt6-base-dev-tools xz-utils
    # its tests and a look at the program: Wine and Wine's Tahoma
    wine64 fonts-wine
    # the package
    zip
  )
fi

missing=()
for package in "${PACKAGES[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ $status == "install ok installed" ]] || missing+=("$package")
done
if [[ ${#missing[@]} -eq 0 ]]; then
  exit 0
fi
echo "install-packages: installing ${missing[*]}" >&2

as_root=()
if [[ $(id -u) -ne 0 ]]; then
  command -v sudo >/dev/null || {
    echo "install-packages: missing packages and not root: ${missing[*]}" >&2
    exit 1
  }
  as_root=(sudo)
fi

# Unanswered, firebird3.0-server's SYSDBA password question gets a random password; nothing
# here uses it, the private server has accounts of its own.
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
  apt-get install -y --no-install-recommends "${PACKAGES[@]}"
