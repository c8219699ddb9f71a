#!/usr/bin/env bash
# Create a database on the private server and give it the program's tables.
#
#   scripts/mkdb.sh PORT PATH [OWNER]
#
# PORT is the private server's port (DIR/port after scripts/fbserver.sh start DIR), PATH the
# database file to create (must not exist), OWNER SYSDBA (default) or QEBVOQ. The creating
# account owns the database and its system tables, which matters to how the program picks
# its account. The default character set is WIN1252. Works against Firebird 2.1 to 5 through
# Debian's isql-fb.
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

# The Firebird 3 client first tries a quoted user name with its quotes, a login a Firebird 2.x
# server refuses; after four refusals of one name within 8 s it holds each login of that name for
# 8 s. So the owner goes unquoted. A 2.x server parses the statement again when it holds more than
# the client reads, as DEFAULT CHARACTER SET, and there it wants the user quoted: so the default
# character set is set apart, in RDB$DATABASE on 2.x, which has no ALTER DATABASE for it (and
# Firebird 3 and later refuse to write RDB$DATABASE).
run_isql <<EOF
CREATE DATABASE '$literal' USER $owner PASSWORD '$password';
COMMIT;
SET TERM ^;
EXECUTE BLOCK AS
BEGIN
  IF (RDB\$GET_CONTEXT('SYSTEM', 'ENGINE_VERSION') STARTING WITH '2.') THEN
    EXECUTE STATEMENT 'UPDATE RDB\$DATABASE SET RDB\$CHARACTER_SET_NAME = ''WIN1252''';
  ELSE
    EXECUTE STATEMENT 'ALTER DATABASE SET DEFAULT CHARACTER SET WIN1252';
END^
SET TERM ;^
COMMIT;
EOF
run_isql -user "$owner" -password "$password" -i "$SCHEMA" "$dsn"
echo "$path"
