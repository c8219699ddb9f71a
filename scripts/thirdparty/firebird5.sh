#!/usr/bin/env bash
# Firebird 5.0 for Linux as the tests run it: the server, its tools and its client library in a
# relocatable, stripped tree, packed as firebird5.tar.xz (top folder firebird5/).
#
#   bash scripts/thirdparty/firebird5.sh [--rebuild] SOURCE
#
# SOURCE is Firebird's source at a tag v5.0.x (the project's tree is v5.0.4), as a tarball (as
# `git archive` packs it) or as a folder. Prints the path of the packed tree: the one in
# ../shared, else the cache's (pieces.sh), else the one it builds into the cache; --rebuild
# builds even when one is there. As root it installs the Debian packages the build needs.
# JOBS (default 2) parallel jobs.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd -P)
source "$ROOT/scripts/thirdparty/pieces.sh"
source "$ROOT/scripts/thirdparty/recipe.sh"
recipe_begin firebird5 firebird5 "[--rebuild] SOURCE" "$@"
((${#ARGS[@]} == 1)) || recipe_usage
recipe_work
S=$WORK/src
recipe_source "${ARGS[0]}" "$S"
grep -q 'PRODUCT_VER_STRING "5\.0\.' "$S/src/jrd/build_no.h" ||
  recipe_die "${ARGS[0]} is not the source of a Firebird 5.0"
recipe_packages g++ make cmake autoconf automake libtool libtommath-dev libicu-dev \
  libncurses-dev zlib1g-dev xz-utils
cd "$S"

NICE=(nice -n 19)
NOCONFIGURE=1 "${NICE[@]}" ./autogen.sh
# Binaries that find each other relative to their own folder, so the tree runs wherever it is
# unpacked; the prefix is only a compiled-in default. Debian 12 has no libtomcrypt-dev of the
# version Firebird wants: its own copy is built in.
"${NICE[@]}" ./configure --enable-binreloc --with-builtin-tomcrypt --prefix=/opt/firebird5
"${NICE[@]}" make -j"${JOBS:-2}"

# The built tree without its examples and build helpers.
B=$S/gen/Release/firebird
T=$WORK/firebird5
mkdir -p "$T/bin"
for item in "$B"/*; do
  case ${item##*/} in
    bin | examples) ;;
    *) cp -a "$item" "$T/" ;;
  esac
done
for tool in firebird fbguard isql gbak gsplit gfix gsec gstat nbackup fbsvcmgr fbtracemgr \
  fb_lock_print fb_config; do
  cp "$B/bin/$tool" "$T/bin/"
done
# The built-in libtomcrypt is linked from the build folder: the tree gets the library itself.
for library in "$T"/lib/libtomcrypt.so*; do
  if [[ -L $library ]]; then
    built=$(readlink -f "$library")
    rm "$library"
    cp "$built" "$library"
  fi
done
find "$T" -type f -name '*.so*' -exec strip --strip-unneeded {} +
find "$T/bin" -type f ! -name fb_config -exec strip --strip-unneeded {} +
(cd "$WORK" && tar -cf - firebird5 | xz -9e >firebird5.tar.xz)

recipe_keep firebird5 "$WORK/firebird5.tar.xz"
recipe_end
