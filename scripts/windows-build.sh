#!/usr/bin/env bash
# Cross-build tavrel.exe and the test executables that need no server for 64-bit (x64, the
# default) or 32-bit (x86) Windows, with MinGW-w64 and the packed Qt for Windows (the piece
# qt-mingw-x64 or qt-mingw-x86 of scripts/thirdparty/pieces.sh). The packages must be installed
# (scripts/install-packages.sh --windows).
#
#   bash scripts/windows-build.sh [x64|x86]
#
# With TAVREL_WINDOWS_DB_TESTS=ON it builds the database tests as well (scripts/windows-test.sh
# db runs them).
#
# In the target's folder (scripts/windows-env.sh): qt6-mingw/ (qt6-mingw32/ for x86) unpacked
# once, googletest/ built once with the same toolchain, tavrel/ the build (tavrel/tavrel.exe).
# Both targets share firebird-include/ in the working folder.
#
# Without the packed Qt of the target in ../shared or in the cache, it is built once into the
# cache, outside the repository so no clean removes it (scripts/thirdparty/qt-mingw.sh: about an
# hour and a half on two cores, as root, which installs packages).
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd -P)
TARGET=${1:-x64}
source "$ROOT/scripts/windows-env.sh"
source "$ROOT/scripts/thirdparty/pieces.sh"

# Unpacked into a fresh folder and moved into place whole, so an interrupted one is redone.
mkdir -p "$TARGET_DIR"
if [[ ! -d $QT_MINGW ]]; then
  if ! QT_ARCHIVE=$(piece_path "qt-mingw-$TARGET"); then
    echo "windows-build: no $(piece_need "qt-mingw-$TARGET"); building it" >&2
    QT_ARCHIVE=$(bash "$ROOT/scripts/thirdparty/qt-mingw.sh" "$TARGET")
  fi
  tmp=$(mktemp -d "$TARGET_DIR/place.XXXXXX")
  tar -xJf "$QT_ARCHIVE" -C "$tmp" "$QT_NAME"
  mv "$tmp/$QT_NAME" "$QT_MINGW"
  rm -rf "$tmp"
fi

# Debian's Firebird headers, out of /usr/include where the MinGW compilers would read glibc's
# headers beside them. ibase.h (and iberror.h, its error codes) stand alone and declare the
# client's functions for Windows as well. Copied with their times, so an unchanged header
# rebuilds nothing.
mkdir -p "$FIREBIRD_INCLUDE"
cp -p /usr/include/ibase.h /usr/include/iberror.h "$FIREBIRD_INCLUDE/"

QT_CMAKE=$QT_MINGW/bin/qt-cmake

if [[ ! -f $TARGET_DIR/googletest/lib/cmake/GTest/GTestConfig.cmake ]]; then
  "$QT_CMAKE" -S /usr/src/googletest -B "$TARGET_DIR/googletest-build" -G Ninja \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$TARGET_DIR/googletest" -DBUILD_GMOCK=OFF
  cmake --build "$TARGET_DIR/googletest-build" -j2
  cmake --install "$TARGET_DIR/googletest-build" >/dev/null
fi

"$QT_CMAKE" -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DTAVREL_FIREBIRD_INCLUDE_DIR="$FIREBIRD_INCLUDE" \
  -DGTest_DIR="$TARGET_DIR/googletest/lib/cmake/GTest" \
  -DTAVREL_DB_TESTS="${TAVREL_WINDOWS_DB_TESTS:-OFF}" \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$ROOT/scripts/wine-run.sh;$TARGET"
cmake --build "$BUILD" -j2
