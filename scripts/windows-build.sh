#!/usr/bin/env bash
# Cross-build tavrel.exe and the test executables that need no server for 64-bit Windows, with
# MinGW-w64 and the packed Qt for Windows beside the repository (../shared/windows/). The
# packages must be installed (scripts/install-packages.sh --windows).
#
#   bash scripts/windows-build.sh
#
# With TAVREL_WINDOWS_DB_TESTS=ON it builds the database tests as well (scripts/windows-test.sh
# db runs them).
#
# In the working folder (scripts/windows-env.sh): qt6-mingw/ and firebird5-include/ unpacked
# once, googletest/ built once with the same toolchain, tavrel/ the build (tavrel/tavrel.exe).
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd -P)
source "$ROOT/scripts/windows-env.sh"
SHARED=$ROOT/../shared

# Unpacked into a fresh folder and moved into place whole, so an interrupted unpack is redone.
unpack() { # archive member destination
  [[ -d $3 ]] && return
  local tmp
  tmp=$(mktemp -d "$WIN/unpack.XXXXXX")
  tar -xJf "$1" -C "$tmp" "$2"
  mv "$tmp/$2" "$3"
  rm -rf "$tmp"
}
unpack "$SHARED/windows/qt6-mingw-6.4.2.tar.xz" qt6-mingw "$QT_MINGW"
# Debian's Firebird headers live outside the MinGW sysroot; these are the same interfaces.
unpack "$SHARED/firebird5/firebird5.tar.xz" firebird5/include "$WIN/firebird5-include"

QT_CMAKE=$QT_MINGW/bin/qt-cmake

if [[ ! -f $WIN/googletest/lib/cmake/GTest/GTestConfig.cmake ]]; then
  "$QT_CMAKE" -S /usr/src/googletest -B "$WIN/googletest-build" -G Ninja \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$WIN/googletest" -DBUILD_GMOCK=OFF
  cmake --build "$WIN/googletest-build" -j2
  cmake --install "$WIN/googletest-build" >/dev/null
fi

"$QT_CMAKE" -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DTAVREL_FIREBIRD_INCLUDE_DIR="$WIN/firebird5-include" \
  -DGTest_DIR="$WIN/googletest/lib/cmake/GTest" \
  -DTAVREL_DB_TESTS="${TAVREL_WINDOWS_DB_TESTS:-OFF}" \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$ROOT/scripts/wine-run.sh"
cmake --build "$BUILD" -j2
