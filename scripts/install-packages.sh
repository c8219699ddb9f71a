#!/usr/bin/env bash
# Install the Debian packages that the build, the tests, the demo and looking at the window
# need. Runs as root (or through sudo when it is there); non-interactive.
#
#   bash scripts/install-packages.sh              the Linux build, tests and demo
#   bash scripts/install-packages.sh --windows    also the Windows cross-builds (64- and
#                                                 32-bit), the 64-bit tests under Wine and
#                                                 the packages
#   bash scripts/install-packages.sh --windows-x86-test
#                                                 also what running the 32-bit tests under
#                                                 Wine emulated by QEMU needs: the i386
#                                                 architecture, 32-bit Wine, qemu-user and a
#                                                 32-bit C compiler (some hundreds of MB)
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
option=${1:-}
if [[ $option == --windows || $option == --windows-x86-test ]]; then
  PACKAGES+=(
    # the cross-builds: MinGW-w64 for both targets, the host Qt tools the packed Qt for
    # Windows calls, the packed Qt's archive
    g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools ninja-build
    qt6-base-dev-tools xz-utils
    # its tests and a look at the program: Wine and Wine's Tahoma
    wine64 fonts-wine
    # the package
    zip
  )
fi
# This machine's kernel runs no 32-bit Linux program, Wine's 32-bit loader included; QEMU
# emulates them (scripts/windows-x86-test.sh registers it), and the compiler builds the
# preload library that keeps Wine's start-up short under it.
if [[ $option == --windows-x86-test ]]; then
  PACKAGES+=(wine32:i386 qemu-user-static gcc-multilib)
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

# wine32 is an i386 package: the architecture goes in before the package lists are read.
if [[ " ${missing[*]} " == *:i386\ * ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${as_root[@]}" dpkg --add-architecture i386
fi
# Unanswered, firebird3.0-server's SYSDBA password question gets a random password; nothing
# here uses it, the private server has accounts of its own.
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
  apt-get install -y --no-install-recommends "${PACKAGES[@]}"
