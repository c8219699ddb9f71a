#!/usr/bin/env bash
# Firebird 2.5.9's client library for Windows, fbclient.dll (the classic C API over TCP/IP with
# legacy authentication), for 32-bit (x86) and 64-bit (x64) programs, cross-built with Debian's
# MinGW-w64 from Firebird's own source: only the client's sources, not a whole Firebird build.
#
#   bash scripts/thirdparty/fbclient-windows.sh [--rebuild] SOURCE [x86|x64]
#
# SOURCE is Firebird's source at its tag R2_5_9, as a tarball (as `git archive` packs it; the
# project keeps one in ../shared/firebird25/source/firebird-2.5.9-src.tar.xz) or as a folder.
# Without a target it makes both. Prints the paths of the DLLs: the ones in ../shared, else the
# cache's (pieces.sh), else the ones it builds into the cache, where the folder above them also
# gets Firebird 3's firebird.msg (Debian's libfbclient2), whose texts the 2.5 client prints for
# error codes of newer servers; --rebuild builds even when they are there. As root it installs
# the Debian packages the build needs. A few minutes a target on two cores; JOBS (default 2).
#
# Host tools from Debian: btyacc (Firebird's extern/btyacc, built natively) writes the parser's
# token numbers for keywords.cpp; Debian's gpre 3.0 turns dsql/array.epp and dsql/blob.epp into
# C++, reading system-table metadata from an empty database it opens embedded. gpre 3.0 fetches
# names as CSTRING(125) where 2.5's fetched CSTRING(32); the code copies them bounded into the
# 32-byte descriptor fields.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd -P)
source "$ROOT/scripts/thirdparty/pieces.sh"
source "$ROOT/scripts/thirdparty/recipe.sh"
usage="[--rebuild] SOURCE [x86|x64]"
targets=(x86 x64)
for argument; do
  case $argument in
    x86 | x64) targets=("$argument") ;;
  esac
done
recipe_begin fbclient-windows "${targets[*]/#/fbclient-}" "$usage" "$@"
case ${#ARGS[@]} in
  1) ;;
  2) [[ ${ARGS[1]} == x86 || ${ARGS[1]} == x64 ]] || recipe_usage ;;
  *) recipe_usage ;;
esac
recipe_work
S=$WORK/src
recipe_source "${ARGS[0]}" "$S"
[[ -f $S/builds/win32/defs/fbclient.def ]] && grep -q '"2\.5\.9' "$S/src/jrd/build_no.h" ||
  recipe_die "${ARGS[0]} is not Firebird 2.5.9's source"
recipe_packages make gcc g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix firebird3.0-utils \
  firebird3.0-server-core libfbclient2

# Firebird's configuration header for MSVC, taught GCC's names of the targets.
sed -e 's/^#if defined(_M_IX86)$/#if defined(_M_IX86) || defined(__i386__)/' \
  -e 's/^#elif defined(_M_AMD64)$/#elif defined(_M_AMD64) || defined(__x86_64__)/' \
  -e 's/^#define i386$/#ifndef i386\n#define i386\n#endif/' \
  "$S/src/include/gen/autoconfig_msvc.h" >"$S/src/include/gen/autoconfig.h"
grep -q '__x86_64__' "$S/src/include/gen/autoconfig.h" ||
  recipe_die "autoconfig_msvc.h did not take the edit"
# __control87_2 is MSVC's alone: _controlfp, as the x64 branch has it.
recipe_patch "$S/src/common/classes/FpeControl.h" \
  's/^#ifdef AMD64$/#if defined(AMD64) || defined(__MINGW32__)/' 'defined(__MINGW32__)'
# A varargs definition marked __stdcall against a plain declaration, which GCC refuses.
recipe_patch "$S/src/jrd/gds.cpp" 's/^void API_ROUTINE gds__print_pool(/void gds__print_pool(/' \
  '^void gds__print_pool('
# A work-around for old MinGW headers that redefines what today's define.
recipe_patch "$S/src/auth/trusted/AuthSspi.cpp" \
  's/^#if defined (__GNUC__)$/#if defined (__GNUC__) \&\& !defined(SECPKG_ATTR_ACCESS_TOKEN)/' \
  'SECPKG_ATTR_ACCESS_TOKEN)$'
# Windows headers included with capitals; MinGW's are lower case on a case-sensitive disk.
mkdir -p "$WORK/shim"
for header in Windows Ws2tcpip Shlwapi Security; do
  echo "#include <${header,,}.h>" >"$WORK/shim/$header.h"
done

NICE=(nice -n 19)
echo "fbclient-windows: btyacc, then the parser's tokens"
"${NICE[@]}" make -C "$S/extern/btyacc" CC=gcc
mkdir -p "$WORK/yacc"
(cd "$WORK/yacc" &&
  "$S/extern/btyacc/btyacc" -l -d -S "$S/src/dsql/btyacc_fb.ske" "$S/src/dsql/parse.y")
cp "$WORK/yacc/y_tab.h" "$S/src/dsql/dsql.tab.h"

echo "fbclient-windows: gpre"
mkdir -p "$WORK/gpre/lock" "$WORK/gpre/tmp" "$S/gen/dsql"
(
  cd "$WORK/gpre"
  export FIREBIRD_LOCK=$WORK/gpre/lock FIREBIRD_TMP=$WORK/gpre/tmp ISC_USER=SYSDBA
  echo "create database '$WORK/gpre/yachts.fdb'; exit;" >create.sql
  isql-fb -q -i create.sql
  # The name the .epp files ask for.
  ln -s yachts.fdb yachts.lnk
  for file in array blob; do
    gpre -r -m -z -n "$S/src/dsql/$file.epp" "$S/gen/dsql/$file.cpp"
  done
)

for target in "${targets[@]}"; do
  case $target in
    x86) triple=i686-w64-mingw32 ;;
    x64) triple=x86_64-w64-mingw32 ;;
  esac
  echo "fbclient-windows: compiling fbclient.dll for $target"
  (cd "$WORK" && "${NICE[@]}" make -f "$ROOT/scripts/thirdparty/fbclient-windows.mk" \
    -j"${JOBS:-2}" ARCH="$target" SRC=src)
  "$triple-strip" --strip-unneeded "$WORK/obj-$target/fbclient.dll"
  echo "fbclient-windows: it imports" \
    $("$triple-objdump" -p "$WORK/obj-$target/fbclient.dll" | sed -n 's/^\s*DLL Name: //p')
  recipe_keep "fbclient-$target" "$WORK/obj-$target/fbclient.dll"
done
cp /usr/lib/x86_64-linux-gnu/firebird/3.0/firebird.msg "$CACHE_DIR/windows/fbclient/firebird.msg"
recipe_end
