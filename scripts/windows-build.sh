#!/usr/bin/env bash
# Cross-build tavrel.exe and the test executables that need no server for 64-bit (x64, the
# default) or 32-bit (x86) Windows, with MinGW-w64 and the packed Qt for Windows beside the
# repository (../shared/windows/). The packages must be installed
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
# Without the packed Qt of the target, it is built once (about an hour and a half on two
# cores, as root: ../shared/windows/build-qt-mingw.sh installs packages) into
# TAVREL_QT_CACHE, default ~/.cache/tavrel, outside the repository so no clean removes it.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd -P)
TARGET=${1:-x64}
source "$ROOT/scripts/windows-env.sh"
SHARED=$ROOT/../shared

# Unpacked or copied into a fresh folder and moved into place whole, so an interrupted one is
# redone.
place() { # destination from_archive ARCHIVE MEMBER | destination from_folder FOLDER
  [[ -d $1 ]] && return
  local tmp
  tmp=$(mktemp -d "$(dirname "$1")/place.XXXXXX")
  if [[ $2 == from_archive ]]; then
    tar -xJf "$3" -C "$tmp" "$4"
    mv "$tmp/$4" "$1"
  else
    cp -a "$3" "$tmp/tree"
    mv "$tmp/tree" "$1"
  fi
  rm -rf "$tmp"
}

mkdir -p "$TARGET_DIR"
QT_ARCHIVE=$SHARED/windows/$QT_NAME-6.4.2.tar.xz
if [[ -f $QT_ARCHIVE ]]; then
  place "$QT_MINGW" from_archive "$QT_ARCHIVE" "$QT_NAME"
else
  QT_CACHED=${TAVREL_QT_CACHE:-$HOME/.cache/tavrel}/$QT_NAME-6.4.2
  if [[ ! -f $QT_CACHED/bin/qt-cmake ]]; then
    echo "windows-build: no $QT_ARCHIVE; building Qt into $QT_CACHED" >&2
    rm -rf "$QT_CACHED"
    bash "$SHARED/windows/build-qt-mingw.sh" "${TRIPLE%%-*}" "$QT_CACHED"
  fi
  place "$QT_MINGW" from_folder "$QT_CACHED"
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
