#!/usr/bin/env bash
# A private Firebird 3 server for the tests, the demo and the benchmarks.
#
#   scripts/fbserver.sh start DIR    prepare DIR if needed, start the server, print its port
#   scripts/fbserver.sh stop DIR     stop the server started in DIR
#   scripts/fbserver.sh status DIR   print the port and exit 0 when the server answers
#
# The server runs as an ordinary process on a free loopback port with DIR as its root, so it
# never touches the machine's own Firebird service or its security database.
# Accounts: SYSDBA/tulipvane and QEBVOQ/bromel (Srp); QEBVOQ may create databases.
set -euo pipefail

FB_LIB=/usr/lib/x86_64-linux-gnu/firebird/3.0
FB_ETC=/etc/firebird/3.0
FB_SECURITY=/var/lib/firebird/3.0/system/security3.fdb
FB_SECURITY_SQL=/usr/share/firebird/3.0/security.sql
FB_SERVER=/usr/sbin/firebird
ISQL=/usr/bin/isql-fb
# Compiled into the Debian build; FIREBIRD does not move it.
FB_LOG=/var/log/firebird/firebird3.0.log
START_TIMEOUT=${TAVREL_FB_START_TIMEOUT:-30}

die() {
  echo "fbserver: $*" >&2
  exit 1
}

usage() {
  echo "usage: $0 start|stop|status DIR" >&2
  exit 2
}

# True when something accepts connections on 127.0.0.1:$1.
listening() {
  (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null
}

# True when process $1 listens on 127.0.0.1:$2, not some other process that took the port first.
owns_port() {
  local inode
  inode=$(awk -v addr="0100007F:$(printf '%04X' "$2")" \
    '$2 == addr && $4 == "0A" { print $10; exit }' /proc/net/tcp)
  [[ -n $inode ]] && [[ $(ls -l "/proc/$1/fd" 2>/dev/null) == *"socket:[$inode]"* ]]
}

# The pid in DIR/pid when that process is still a Firebird server (guards against pid reuse).
live_pid() {
  local pid
  [[ -f $DIR/pid ]] || return 1
  pid=$(<"$DIR/pid")
  [[ $pid =~ ^[0-9]+$ ]] || return 1
  [[ $(readlink "/proc/$pid/exe" 2>/dev/null) == "$FB_SERVER" ]] || return 1
  echo "$pid"
}

pick_port() {
  local port tries
  for ((tries = 0; tries < 200; tries++)); do
    port=$((20000 + RANDOM % 30000))
    if ! listening "$port"; then
      echo "$port"
      return 0
    fi
  done
  die "no free loopback port found"
}

prepare_root() {
  local port=$1
  mkdir -p "$DIR/lock" "$DIR/intl" "$DIR/dbs"
  ln -sfn "$FB_LIB/plugins" "$DIR/plugins"
  # Real copies: through a symbolic link the server reports WIN1252 as not installed.
  cp -f "$FB_LIB/intl/libfbintl.so" "$DIR/intl/libfbintl.so"
  cp -f "$FB_ETC/fbintl.conf" "$DIR/intl/fbintl.conf"
  cp -f "$FB_ETC/plugins.conf" "$DIR/plugins.conf"
  cp -f "$FB_LIB/firebird.msg" "$DIR/firebird.msg"
  if [[ ! -f $DIR/security3.fdb ]]; then
    if [[ -f $FB_SECURITY ]]; then
      cp "$FB_SECURITY" "$DIR/security3.fdb"
    else
      make_security_db
    fi
  fi
  cat >"$DIR/firebird.conf" <<EOF
RemoteServicePort = $port
RemoteBindAddress = 127.0.0.1
SecurityDatabase = $DIR/security3.fdb
ServerMode = Super
EOF
  cat >"$DIR/databases.conf" <<EOF
security.db = $DIR/security3.fdb
{
	RemoteAccess = false
}
EOF
}

# The package's post-install step builds its security database this way; used only when that
# database is missing.
make_security_db() {
  local out
  [[ -f $FB_SECURITY_SQL ]] || die "neither $FB_SECURITY nor $FB_SECURITY_SQL found"
  out=$( (echo "create database '$DIR/security3.fdb';" |
    FIREBIRD=$DIR FIREBIRD_LOCK=$DIR/lock "$ISQL" -q &&
    FIREBIRD=$DIR FIREBIRD_LOCK=$DIR/lock "$ISQL" -q -user SYSDBA -i "$FB_SECURITY_SQL" \
      "$DIR/security3.fdb") 2>&1) || die "building the security database failed: $out"
}

# Embedded access to the security database: the server must not be running yet.
set_accounts() {
  local out
  cat >"$DIR/accounts.sql" <<'EOF'
create or alter user SYSDBA password 'tulipvane' using plugin Srp;
create or alter user QEBVOQ password 'bromel' using plugin Srp;
commit;
EOF
  out=$(FIREBIRD=$DIR FIREBIRD_LOCK=$DIR/lock "$ISQL" -q -user SYSDBA -i "$DIR/accounts.sql" \
    "$DIR/security3.fdb" 2>&1) || die "setting the accounts failed: $out"
  [[ -z $out ]] || die "setting the accounts failed: $out"

  # Granting twice is an error, so grant only when missing.
  cat >"$DIR/creators.sql" <<'EOF'
set list on;
select count(*) as granted from rdb$db_creators
  where rdb$user = 'QEBVOQ' and rdb$user_type = 8;
EOF
  out=$(FIREBIRD=$DIR FIREBIRD_LOCK=$DIR/lock "$ISQL" -q -user SYSDBA -i "$DIR/creators.sql" \
    "$DIR/security3.fdb" 2>&1) || die "reading the database creators failed: $out"
  if [[ ! $out =~ GRANTED[[:space:]]+1 ]]; then
    printf 'grant create database to user QEBVOQ;\ncommit;\n' >"$DIR/grant.sql"
    out=$(FIREBIRD=$DIR FIREBIRD_LOCK=$DIR/lock "$ISQL" -q -user SYSDBA -i "$DIR/grant.sql" \
      "$DIR/security3.fdb" 2>&1) || die "granting CREATE DATABASE failed: $out"
    [[ -z $out ]] || die "granting CREATE DATABASE failed: $out"
  fi
}

start() {
  local pid port waited
  if pid=$(live_pid) && port=$(<"$DIR/port") && owns_port "$pid" "$port"; then
    echo "fbserver: already running in $DIR (pid $pid)" >&2
    echo "$port"
    return 0
  fi
  # A server left from an earlier run that no longer answers is in the way of its lock files.
  if pid=$(live_pid); then
    kill -KILL "$pid" 2>/dev/null || true
    wait_gone "$pid"
  fi
  rm -f "$DIR/pid" "$DIR/port"

  [[ -x $FB_SERVER ]] || die "$FB_SERVER not found (package firebird3.0-server)"
  [[ -x $ISQL ]] || die "$ISQL not found (package firebird3.0-utils)"

  port=$(pick_port)
  prepare_root "$port"
  set_accounts

  # Its own output goes to a file: an inherited pipe would keep a caller such as ctest waiting.
  FIREBIRD=$DIR FIREBIRD_LOCK=$DIR/lock setsid "$FB_SERVER" </dev/null >"$DIR/server.out" 2>&1 &
  pid=$!
  echo "$pid" >"$DIR/pid"

  for ((waited = 0; waited < START_TIMEOUT * 10; waited++)); do
    if owns_port "$pid" "$port"; then
      echo "$port" >"$DIR/port"
      echo "fbserver: started in $DIR (pid $pid, port $port)" >&2
      echo "$port"
      return 0
    fi
    if ! kill -0 "$pid" 2>/dev/null; then
      rm -f "$DIR/pid"
      die "the server exited at start; $(tail -n 20 "$DIR/server.out" "$FB_LOG" 2>/dev/null)"
    fi
    sleep 0.1
  done
  kill -KILL "$pid" 2>/dev/null || true
  rm -f "$DIR/pid"
  die "the server did not listen on port $port within ${START_TIMEOUT}s;" \
    "$(tail -n 20 "$FB_LOG" 2>/dev/null)"
}

wait_gone() {
  local pid=$1 waited
  for ((waited = 0; waited < 100; waited++)); do
    [[ -e /proc/$pid ]] || return 0
    # A zombie has ended already; only its parent's reaping is missing.
    [[ $(awk '{print $3}' "/proc/$pid/stat" 2>/dev/null) == Z ]] && return 0
    sleep 0.1
  done
  die "process $pid did not end"
}

stop() {
  local pid
  if pid=$(live_pid); then
    # Started this way the server ignores SIGTERM and SIGINT; forced writes keep databases whole.
    kill -KILL "$pid" 2>/dev/null || true
    wait_gone "$pid"
    echo "fbserver: stopped pid $pid in $DIR" >&2
  else
    echo "fbserver: no server running in $DIR" >&2
  fi
  rm -f "$DIR/pid" "$DIR/port"
}

status() {
  local pid port
  if pid=$(live_pid) && port=$(<"$DIR/port") && owns_port "$pid" "$port"; then
    echo "$port"
    return 0
  fi
  echo "fbserver: no server running in $DIR" >&2
  return 1
}

[[ $# -eq 2 ]] || usage
if [[ $1 == start ]]; then
  mkdir -p "$2"
elif [[ ! -d $2 ]]; then
  echo "fbserver: no server running in $2" >&2
  [[ $1 == stop ]] && exit 0 || exit 1
fi
DIR=$(cd "$2" && pwd -P)

case $1 in
  start) start ;;
  stop) stop ;;
  status) status ;;
  *) usage ;;
esac
