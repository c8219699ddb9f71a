#!/usr/bin/env bash
# Firebird 2.5.9 for Linux as the tests run it: the SuperServer, its tools and its client library
# in a relocatable, stripped tree, packed as firebird25.tar.xz (top folder firebird25/).
#
#   bash scripts/thirdparty/firebird25.sh [--rebuild] SOURCE
#
# SOURCE is Firebird's source at its tag R2_5_9, as a tarball (as `git archive` packs it; the
# project keeps one in ../shared/firebird25/source/firebird-2.5.9-src.tar.xz) or as a folder.
# Prints the path of the packed tree: the one in ../shared, else the cache's (pieces.sh), else the
# one it builds into the cache; --rebuild builds even when one is there. As root it installs the
# Debian packages the build needs. About 25 minutes on two cores; JOBS (default 2) parallel jobs.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd -P)
source "$ROOT/scripts/thirdparty/pieces.sh"
source "$ROOT/scripts/thirdparty/recipe.sh"
recipe_begin firebird25 firebird25 "[--rebuild] SOURCE" "$@"
((${#ARGS[@]} == 1)) || recipe_usage
recipe_work
S=$WORK/src
recipe_source "${ARGS[0]}" "$S"
grep -q '"2\.5\.9' "$S/src/jrd/build_no.h" || recipe_die "${ARGS[0]} is not Firebird 2.5.9's source"
recipe_packages g++ make autoconf automake libtool bison flex libncurses-dev libicu-dev \
  libedit-dev xz-utils
cd "$S"

# The tree already compiles with -std=gnu++98 -fno-delete-null-pointer-checks; gcc 12 needs
# -fno-lifetime-dse too (the memory pools rely on what an object held before its constructor
# ran) and -fno-strict-aliasing. No debug information: the binaries are stripped.
recipe_patch builds/posix/prefix.linux_amd64 \
  's/^COMMON_FLAGS=-ggdb /COMMON_FLAGS=/; /^COMMON_FLAGS=/s/$/ -fno-lifetime-dse -fno-strict-aliasing/' \
  '^COMMON_FLAGS=.*-fno-lifetime-dse -fno-strict-aliasing$'
# This make writes the RUNPATH as the literal $$ORIGIN/../lib, and the tools then load the
# system's Firebird 3 client: one level of escaping less gives $ORIGIN/../lib, their own tree.
recipe_patch builds/posix/make.defaults "s/'\$\$\$\$ORIGIN/'\$\$ORIGIN/" "'\$\$ORIGIN"
# The server refuses to run as any user but root, firebird, interbase or interbas; the tests'
# private server runs as whoever runs them.
recipe_patch src/remote/inet_server.cpp \
  's/^\(\t*\)if (user_name != "root" \&\&$/\1if (false \&\& user_name != "root" \&\&/' \
  'if (false && user_name != "root"'
recipe_patch src/utilities/guard/guard.cpp \
  's/^\(\t*\)if (user_name != INTERBASE_USER \&\& user_name != "root"/\1if (false \&\& user_name != INTERBASE_USER \&\& user_name != "root"/' \
  'if (false && user_name != INTERBASE_USER'

NICE=(nice -n 19)
NOCONFIGURE=1 "${NICE[@]}" ./autogen.sh
# The prefix is only a compiled-in default; the tree finds itself through FIREBIRD.
"${NICE[@]}" ./configure --prefix=/opt/firebird25 --enable-superserver \
  --with-system-icu --with-system-editline --enable-binreloc
# The top makefile races under make -j (objects built twice, links of half-written ones);
# CPU=N is 2.5's own switch that runs the sub-makes in parallel.
"${NICE[@]}" make CPU="${JOBS:-2}"

# The layout of Firebird's own Linux installation, without examples, UDF libraries or the
# guardian's scripts.
B=$S/gen/firebird
T=$WORK/firebird25
mkdir -p "$T/bin" "$T/lib" "$T/intl" "$T/plugins" "$T/include"
for tool in fbserver fbguard isql gbak gsec gfix gstat nbackup fbsvcmgr fbtracemgr fb_lock_print; do
  cp "$B/bin/$tool" "$T/bin/"
done
cp "$B"/lib/libfbclient.so.2.5.* "$B/lib/libib_util.so" "$T/lib/"
(cd "$T/lib" && ln -s libfbclient.so.2.5.* libfbclient.so.2 && ln -s libfbclient.so.2 libfbclient.so)
cp "$B/intl/libfbintl.so" "$T/intl/fbintl"
cp "$S/gen/install/misc/fbintl.conf" "$T/intl/"
cp "$B/plugins/libfbtrace.so" "$T/plugins/"
cp "$S/gen/install/misc/firebird.conf" "$S/gen/install/misc/aliases.conf" \
  "$S/gen/install/misc/fbtrace.conf" "$B/security2.fdb" "$B/firebird.msg" "$T/"
cp "$B"/include/*.h "$T/include/"
strip --strip-unneeded "$T"/bin/* "$T"/lib/libfbclient.so.2.5.* "$T/lib/libib_util.so" \
  "$T/intl/fbintl" "$T/plugins/libfbtrace.so"
chmod 0644 "$T/security2.fdb"
(cd "$WORK" && tar -cf - firebird25 | xz -9e >firebird25.tar.xz)

recipe_keep firebird25 "$WORK/firebird25.tar.xz"
recipe_end
