#!/usr/bin/env bash
# Qt 6.4.2 for Windows as tavrel's Windows build uses it: qtbase (Core, Gui, Widgets, Test; the
# windows, offscreen and minimal platforms; no OpenGL, SQL, network, D-Bus, XML, print support)
# cross-built with Debian's MinGW-w64 (GCC 12, POSIX threads) from Debian's qt6-base source
# package, with Debian's Qt 6.4.2 as the host tools (moc, rcc, uic). Packed as
# qt6-mingw-6.4.2.tar.xz (x64, top folder qt6-mingw/) or qt6-mingw32-6.4.2.tar.xz (x86, top
# folder qt6-mingw32/, its DLLs stripped); the tree is relocatable.
#
#   bash scripts/thirdparty/qt-mingw.sh [--rebuild] x64|x86 [SOURCE]
#
# SOURCE is Debian's qt6-base 6.4.2 source, the tarball qt6-base_6.4.2+dfsg.orig.tar.xz or its
# unpacked folder; without it `apt-get source` fetches it (adding the deb-src lines of
# Debian's own archive when missing). Prints the path of the packed tree: the one in ../shared,
# else the cache's (pieces.sh), else the one it builds into the cache; --rebuild builds even
# when one is there. As root it installs the packages the build needs. An hour and a half on two
# busy cores; JOBS (default 2) parallel jobs.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd -P)
source "$ROOT/scripts/thirdparty/pieces.sh"
source "$ROOT/scripts/thirdparty/recipe.sh"
usage="[--rebuild] x64|x86 [SOURCE]"
target=${1:-}
[[ $target == --rebuild ]] && target=${2:-}
case $target in
  x64) triple=x86_64-w64-mingw32 package_arch=x86-64 name=qt6-mingw ;;
  x86) triple=i686-w64-mingw32 package_arch=i686 name=qt6-mingw32 ;;
  *)
    echo "usage: $0 $usage" >&2
    exit 2
    ;;
esac
recipe_begin qt-mingw-$target qt-mingw-$target "$usage" "$@"
((${#ARGS[@]} == 1 || ${#ARGS[@]} == 2)) || recipe_usage
recipe_work

recipe_packages g++-mingw-w64-$package_arch-posix gcc-mingw-w64-$package_arch-posix \
  mingw-w64-tools ninja-build cmake dpkg-dev qt6-base-dev qt6-base-dev-tools xz-utils
S=$WORK/qtbase
if ((${#ARGS[@]} == 2)); then
  recipe_source "${ARGS[1]}" "$S"
else
  if ! apt-cache showsrc qt6-base 2>/dev/null | grep -q '^Version: 6\.4\.2'; then
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
      >/etc/apt/sources.list.d/debian-src.sources
    apt-get update
  fi
  (cd "$WORK" && apt-get source --download-only qt6-base=6.4.2+dfsg-10)
  recipe_source "$WORK/qt6-base_6.4.2+dfsg.orig.tar.xz" "$S"
fi
grep -q '^set(QT_REPO_MODULE_VERSION "6\.4\.2")' "$S/.cmake.conf" ||
  recipe_die "the source is not qtbase 6.4.2"

# Debian's source leaves out the Wacom tablet header: the Windows platforms go without tablet
# input.
win=$S/src/plugins/platforms
for file in windows/qwindowscontext.cpp windows/qwindowspointerhandler.cpp \
  windows/qwindowspointerhandler.h; do
  recipe_patch "$win/$file" 's/QT_CONFIG(tabletevent)/0/' '#if 0'
done
for file in windows/CMakeLists.txt direct2d/CMakeLists.txt; do
  recipe_patch "$win/$file" 's/CONDITION QT_FEATURE_tabletevent/CONDITION FALSE/' 'CONDITION FALSE'
done
# Without OpenGL, 6.4.2's Windows platform still reaches for the dynamic-GL code.
recipe_patch "$win/windows/qwindowswindow.cpp" \
  's/QT_CONFIG(dynamicgl)/(QT_CONFIG(dynamicgl) \&\& QT_CONFIG(opengl))/' 'QT_CONFIG(opengl))'
# Gui has its DirectWrite font database only with direct2d, which the 32-bit build leaves out:
# the Windows platform's opt-in use of it (fontengine=directwrite) goes with it.
recipe_patch "$win/windows/qwindowsintegration.cpp" \
  's/QT_CONFIG(directwrite3)/(QT_CONFIG(directwrite3) \&\& QT_CONFIG(direct2d))/' \
  'QT_CONFIG(direct2d))'

cat >"$WORK/mingw-w64.cmake" <<TOOLCHAIN
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${triple%%-*})
set(CMAKE_C_COMPILER $triple-gcc-posix)
set(CMAKE_CXX_COMPILER $triple-g++-posix)
set(CMAKE_RC_COMPILER $triple-windres)
set(CMAKE_FIND_ROOT_PATH /usr/$triple)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
TOOLCHAIN
# The 32-bit build leaves out the direct2d platform, an alternative to the windows one, to save
# build time. Qt builds its modules with -msse2 -mfpmath=sse on i686 by itself.
features=()
[[ $target == x86 ]] && features+=(-DFEATURE_direct2d=OFF)
prefix=$WORK/$name
cmake -G Ninja -S "$S" -B "$WORK/build" -DCMAKE_TOOLCHAIN_FILE="$WORK/mingw-w64.cmake" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release -DQT_BUILD_EXAMPLES=OFF \
  -DQT_BUILD_TESTS=OFF -DFEATURE_opengl=OFF -DFEATURE_sql=OFF -DFEATURE_network=OFF \
  -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF \
  -DFEATURE_vulkan=OFF -DFEATURE_system_zlib=OFF "${features[@]}"
nice -n 19 ninja -C "$WORK/build" -j"${JOBS:-2}"
cmake --install "$WORK/build"
# Relocatable: the toolchain that qt-cmake chain-loads travels inside the tree.
cp "$WORK/mingw-w64.cmake" "$prefix/lib/cmake/Qt6/mingw-w64.cmake"
recipe_patch "$prefix/lib/cmake/Qt6/qt.toolchain.cmake" \
  "s#set(__qt_initially_configured_toolchain_file \"$WORK/mingw-w64.cmake\")#set(__qt_initially_configured_toolchain_file \"\${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake\")#" \
  'CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake'
[[ $target == x86 ]] && find "$prefix" -name '*.dll' -exec "$triple-strip" --strip-unneeded {} +
(cd "$WORK" && tar -cf - "$name" | xz -9 -T2 >"$name-6.4.2.tar.xz")

recipe_keep qt-mingw-$target "$WORK/$name-6.4.2.tar.xz"
recipe_end
