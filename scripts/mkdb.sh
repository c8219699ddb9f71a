#!/usr/bin/env bash
# Create a database on the private server and give it the program's tables.
#
#   scripts/mkdb.sh PORT PATH [OWNER]
#
# PORT is the private server's port (DIR/port after scripts/fbserver.sh start DIR), PATH the
# database file to create (must not exist), OWNER SYSDBA (default) or QEBVOQ. The creating
# account owns the database and its system tables, which matters to how the program picks
# its account.
set -euo pipefail

ISQL=/usr/bin/isql-fb
HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd -P)
SCHEMA=$HERE/../sql/schema.sql

die() {
  echo "mkdb: $*" >&2
  exit 1
}

[[ $# -ge 2 && $# -le 3 ]] || {
  echo "usage: $0 PORT PATH [SYSDBA|QEBVOQ]" >&2
  exit 2
}
port=$1
path=$(realpath -m -- "$2")
owner=${3:-SYSDBA}
owner=${owner^^}

case $owner in
  SYSDBA) password=tulipvane ;;
  QEBVOQ) password=bromel ;;
  *) die "unknown owner '$owner' (SYSDBA or QEBVOQ)" ;;
esac
[[ $port =~ ^[0-9]+$ ]] || die "not a port: '$port'"
[[ ! -e $path ]] || die "$path already exists"
[[ -x $ISQL ]] || die "$ISQL not found (package firebird3.0-utils)"
mkdir -p "$(dirname "$path")"

dsn="localhost/$port:$path"
# Inside an SQL literal a single quote is doubled.
literal=${dsn//\'/\'\'}

# isql-fb still exits 0 after some failed statements, so any output at all is a failure.
run_isql() {
  local out
  out=$("$ISQL" -q -bail "$@" 2>&1) || die "isql-fb failed: $out"
  [[ -z $out ]] || die "isql-fb failed: $out"
}

run_isql <<EOF
CREATE DATABASE '$literal' USER '$owner' PASSWORD '$password' DEFAULT CHARACTER SET WIN1252;
COMMIT;
EOF
run_isql -user "$owner" -password "$password" -i "$SCHEMA" "$dsn"
echo "$path"
