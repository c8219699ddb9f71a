#!/usr/bin/env bash
# Firebird 2.1.7 for Linux as the tests run it: the SuperServer, its tools and its client library
# in a relocatable, stripped tree, packed as firebird21.tar.xz (top folder firebird21/).
#
#   bash scripts/thirdparty/firebird21.sh [--rebuild] SOURCE
#
# SOURCE is Firebird's source at its tag R2_1_7, as a tarball (as `git archive` packs it) or as a
# folder. Prints the path of the packed tree: the one in ../shared, else the cache's (pieces.sh),
# else the one it builds into the cache; --rebuild builds even when one is there. As root it
# installs the Debian packages the build needs. About 4 minutes on two cores; JOBS (default 2)
# parallel jobs.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd -P)
source "$ROOT/scripts/thirdparty/pieces.sh"
source "$ROOT/scripts/thirdparty/recipe.sh"
recipe_begin firebird21 firebird21 "[--rebuild] SOURCE" "$@"
((${#ARGS[@]} == 1)) || recipe_usage
recipe_work
S=$WORK/src
recipe_source "${ARGS[0]}" "$S"
grep -q '"2\.1\.7' "$S/src/jrd/build_no.h" || recipe_die "${ARGS[0]} is not Firebird 2.1.7's source"
recipe_packages g++ make autoconf automake libtool bison flex libncurses-dev libicu-dev \
  libedit-dev xz-utils
cd "$S"

# 2.1 has none of the flags 2.5.9 added for newer compilers: C++98, null pointer checks kept,
# -fno-lifetime-dse and -fno-strict-aliasing as for 2.5. ICU 72's headers need C++11 for their
# C++ API and char16_t, and 2.1 uses only the C API. gcc 7 and later drop the null check of a
# placement new, which 2.1 relies on: -fcheck-new brings it back. No debug information.
recipe_patch builds/posix/prefix.linux_amd64 \
  's/^COMMON_FLAGS=-ggdb /COMMON_FLAGS=/; /^COMMON_FLAGS=/s/$/ -std=gnu++98 -fno-delete-null-pointer-checks -fno-lifetime-dse -fno-strict-aliasing -DU_SHOW_CPLUSPLUS_API=0 -DUCHAR_TYPE=uint16_t -fcheck-new/' \
  '^COMMON_FLAGS=.*-fcheck-new$'
# An absolute RUNPATH of the prefix: $ORIGIN/../lib finds the tree's own client wherever it lies.
recipe_patch builds/posix/make.defaults \
  "s|^LINK_OPTS = \$(LDFLAGS) \$(UNDEF_FLAGS) .*|LINK_OPTS = \$(LDFLAGS) \$(UNDEF_FLAGS) \$(LIB_LINK_RPATH)'\$\$ORIGIN/../lib'|" \
  "^LINK_OPTS = .*'\$\$ORIGIN/../lib'$"
# The server refuses to run as any user but root, firebird, interbase or interbas.
recipe_patch src/remote/inet_server.cpp \
  's/^\(\t*\)if (user_name != "root" \&\&$/\1if (false \&\& user_name != "root" \&\&/' \
  'if (false && user_name != "root"'
recipe_patch src/utilities/guard/guard.cpp \
  's/^\(\t*\)if (user_name != INTERBASE_USER \&\& *$/\1if (false \&\& user_name != INTERBASE_USER \&\&/' \
  'if (false && user_name != INTERBASE_USER'
# The top makefile is not parallel-safe and 2.1 lacks 2.5's CPU=N: the sub-makes that build one
# library or program each get -j$(CPU), make itself runs serially.
recipe_patch builds/posix/Makefile.in.firebird \
  '0,/^ISC_USER=/s//CPU = 1\nCPU_OPTION = -j$(CPU)\n\nISC_USER=/; s/^\t\$(MAKE) -f \$(GEN_ROOT)\/Makefile\.\(boot\.gpre\|libfbstatic\|static\.gpre\|static\.gbak\|static\.isql\|intl\|libfbembed\|embed\.[a-z]*\|fbserver\|libfbclient\|client\.[a-z]*\)\b/\t$(MAKE) $(CPU_OPTION) -f $(GEN_ROOT)\/Makefile.\1/' \
  '^	$(MAKE) $(CPU_OPTION) -f $(GEN_ROOT)/Makefile.fbserver'
# glibc 2.28 dropped <libio.h>, which perf.h includes for nothing on Linux.
recipe_patch src/jrd/perf.h 's|^#include <libio.h>$|#include <stdio.h>|' '^#include <stdio.h>$'
# gcc 12's <cmath> overloads acos, cos, ... for float and long double: the bare name cast to
# void* is ambiguous; the double one is meant.
recipe_patch src/jrd/SysFunction.cpp \
  's/(VoidPtrStdMathFunc) \([a-z0-9]*\)),$/(VoidPtrStdMathFunc) (StdMathFunc) \1),/' \
  '(VoidPtrStdMathFunc) (StdMathFunc) acos)'
# ICU 3's file names (libicuuc.so.<major><minor>) for the UNICODE collations; ICU 49 and later
# name the file by its major version alone.
recipe_patch src/jrd/unicode_util.cpp \
  's|"libicui18n.so.%d%d"|"libicui18n.so.%d"|; s|"libicuuc.so.%d%d"|"libicuuc.so.%d"|' \
  '"libicuuc.so.%d"'
# A child memory pool passes a null root page, and the placement new on it crashed the build's
# own create_db under gcc 12.
recipe_patch src/common/classes/tree.h \
  's|root(new(rootPage) ItemList()), defaultAccessor(this) {}|root(rootPage ? new(rootPage) ItemList() : NULL), defaultAccessor(this) {}|' \
  'rootPage ? new(rootPage)'

NICE=(nice -n 19)
NOCONFIGURE=1 "${NICE[@]}" ./autogen.sh
# 2.1 has no --enable-binreloc: the server finds its root from its executable, the tools through
# FIREBIRD.
"${NICE[@]}" ./configure --prefix=/opt/firebird21 --enable-superserver \
  --with-system-icu --with-system-editline
"${NICE[@]}" make CPU="${JOBS:-2}"

B=$S/gen/firebird
T=$WORK/firebird21
mkdir -p "$T/bin" "$T/lib" "$T/intl" "$T/include"
for tool in fbserver fbguard isql gbak gsec gfix gstat nbackup fbsvcmgr fb_lock_print; do
  cp "$B/bin/$tool" "$T/bin/"
done
cp "$B"/lib/libfbclient.so.2.1.* "$B/lib/libib_util.so" "$T/lib/"
(cd "$T/lib" && ln -s libfbclient.so.2.1.* libfbclient.so.2 && ln -s libfbclient.so.2 libfbclient.so)
cp "$B/intl/libfbintl.so" "$T/intl/fbintl"
# Generated by some configurations, kept as written in the source by others.
cp "$S/gen/install/misc/fbintl.conf" "$T/intl/" 2>/dev/null ||
  cp "$S/builds/install/misc/fbintl.conf" "$T/intl/"
cp "$S/gen/install/misc/firebird.conf" "$S/gen/install/misc/aliases.conf" "$B/security2.fdb" \
  "$B/firebird.msg" "$T/"
cp "$B"/include/*.h "$T/include/"
strip --strip-unneeded "$T"/bin/* "$T"/lib/libfbclient.so.2.1.* "$T/lib/libib_util.so" \
  "$T/intl/fbintl"
chmod 0644 "$T/security2.fdb"
(cd "$WORK" && tar -cf - firebird21 | xz -9e >firebird21.tar.xz)

recipe_keep firebird21 "$WORK/firebird21.tar.xz"
recipe_end
