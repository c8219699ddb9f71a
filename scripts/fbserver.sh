#!/usr/bin/env bash
# A private Firebird server for the tests, the demo and the benchmarks.
#
#   scripts/fbserver.sh start DIR    prepare DIR if needed, start the server, print its port
#   scripts/fbserver.sh stop DIR     stop the server started in DIR
#   scripts/fbserver.sh status DIR   print the port and exit 0 when the server answers
#   scripts/fbserver.sh unpack DIR   only unpack the Firebird 5 tree into DIR/firebird5
#
# The server runs as an ordinary process on a free loopback port with DIR as its root, so it
# never touches the machine's own Firebird service or its security database.
# Accounts: SYSDBA/tulipvane and QEBVOQ/bromel (Srp); QEBVOQ may create databases.
#
# It is Debian's Firebird 3 server, or with TAVREL_FB_SERVER=5 the Firebird 5 server packed in
# ../shared/firebird5/firebird5.tar.xz beside the repository (TAVREL_FIREBIRD5_TAR names another
# copy), unpacked into DIR/firebird5 at its first start; its client library is then
# DIR/firebird5/lib/libfbclient.so.2. DIR/version holds the running server's major version.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd -P)
VERSION=${TAVREL_FB_SERVER:-3}
FB5_TAR=${TAVREL_FIREBIRD5_TAR:-$ROOT/../shared/firebird5/firebird5.tar.xz}
FB3_LIB=/usr/lib/x86_64-linux-gnu/firebird/3.0
FB3_ETC=/etc/firebird/3.0
FB3_SECURITY=/var/lib/firebird/3.0/system/security3.fdb
FB3_SECURITY_SQL=/usr/share/firebird/3.0/security.sql
FB3_SERVER=/usr/sbin/firebird
FB3_ISQL=/usr/bin/isql-fb
# Compiled into the Debian build; FIREBIRD does not move it.
FB3_LOG=/var/log/firebird/firebird3.0.log
START_TIMEOUT=${TAVREL_FB_START_TIMEOUT:-30}

die() {
  echo "fbserver: $*" >&2
  exit 1
}

usage() {
  echo "usage: $0 start|stop|status|unpack DIR" >&2
  exit 2
}

# True when process $1 listens on 127.0.0.1:$2, not some other process that took the port first.
owns_port() {
  local inode
  inode=$(awk -v addr="0100007F:$(printf '%04X' "$2")" \
    '$2 == addr && $4 == "0A" { print $10; exit }' /proc/net/tcp)
  [[ -n $inode ]] && [[ $(ls -l "/proc/$1/fd" 2>/dev/null) == *"socket:[$inode]"* ]]
}

# The pid in DIR/pid when that process is still a Firebird server started in DIR, of either
# version (guards against pid reuse).
live_pid() {
  local pid exe
  [[ -f $DIR/pid ]] || return 1
  pid=$(<"$DIR/pid")
  [[ $pid =~ ^[0-9]+$ ]] || return 1
  exe=$(readlink "/proc/$pid/exe" 2>/dev/null) || return 1
  [[ $exe == "$FB3_SERVER" || $exe == "$FB5_SERVER" ]] || return 1
  echo "$pid"
}

# True when any TCP socket has port $1 as its local end, in any state.
in_use() {
  local tables=() table
  for table in /proc/net/tcp /proc/net/tcp6; do
    [[ -r $table ]] && tables+=("$table")
  done
  ((${#tables[@]})) || return 1
  awk -v port="$(printf '%04X' "$1")" \
    'FNR > 1 && substr($2, index($2, ":") + 1) == port { found = 1; exit } END { exit !found }' \
    "${tables[@]}"
}

# A port below the range the kernel gives outgoing connections, and no socket's: a port that is
# only the local end of some connection cannot be bound, and the server then retries its bind
# for 50 s before it gives up.
pick_port() {
  local low=32768 high=60999 first count port tries
  read -r low high 2>/dev/null </proc/sys/net/ipv4/ip_local_port_range || true
  if ((low > 11000)); then
    first=10000 count=$((low - 10000))
  else
    first=$((high + 1)) count=$((65536 - high - 1))
  fi
  ((count > 0)) || die "no loopback port outside the kernel's range for outgoing connections"
  for ((tries = 0; tries < 200; tries++)); do
    port=$((first + (RANDOM * 32768 + RANDOM) % count))
    if ! in_use "$port"; then
      echo "$port"
      return 0
    fi
  done
  die "no free loopback port found"
}

prepare_fb3_root() {
  local port=$1
  mkdir -p "$DIR/lock" "$DIR/intl" "$DIR/dbs"
  ln -sfn "$FB3_LIB/plugins" "$DIR/plugins"
  # Real copies: through a symbolic link the server reports WIN1252 as not installed.
  cp -f "$FB3_LIB/intl/libfbintl.so" "$DIR/intl/libfbintl.so"
  cp -f "$FB3_ETC/fbintl.conf" "$DIR/intl/fbintl.conf"
  cp -f "$FB3_ETC/plugins.conf" "$DIR/plugins.conf"
  cp -f "$FB3_LIB/firebird.msg" "$DIR/firebird.msg"
  if [[ ! -f $SECURITY_DB ]]; then
    if [[ -f $FB3_SECURITY ]]; then
      cp "$FB3_SECURITY" "$SECURITY_DB"
    else
      make_security_db
    fi
  fi
  cat >"$DIR/firebird.conf" <<EOF
RemoteServicePort = $port
RemoteBindAddress = 127.0.0.1
SecurityDatabase = $SECURITY_DB
ServerMode = Super
EOF
  cat >"$DIR/databases.conf" <<EOF
security.db = $SECURITY_DB
{
	RemoteAccess = false
}
EOF
}

# The tree finds its plugins, messages and security database relative to itself, so its own
# firebird.conf needs only the port.
prepare_fb5_root() {
  local port=$1
  unpack_fb5
  mkdir -p "$DIR/lock" "$DIR/dbs"
  cat >"$FB_HOME/firebird.conf" <<EOF
RemoteServicePort = $port
RemoteBindAddress = 127.0.0.1
ServerMode = Super
EOF
}

unpack_fb5() {
  local part=$FB5_HOME.part
  [[ -x $FB5_SERVER ]] && return 0
  [[ -f $FB5_TAR ]] || die "$FB5_TAR not found (the packed Firebird 5 tree)"
  rm -rf "$part"
  mkdir -p "$part"
  tar -xJf "$FB5_TAR" -C "$part" --strip-components=1 || die "unpacking $FB5_TAR failed"
  # Its libtomcrypt links point into the folder it was built in; Debian's libtomcrypt1 serves.
  find "$part/lib" -xtype l -delete
  mv "$part" "$FB5_HOME"
}

# The package's post-install step builds its security database this way; used only when that
# database is missing.
make_security_db() {
  local out
  [[ -f $FB3_SECURITY_SQL ]] || die "neither $FB3_SECURITY nor $FB3_SECURITY_SQL found"
  out=$( (echo "create database '$SECURITY_DB';" |
    FIREBIRD=$FB_HOME FIREBIRD_LOCK=$DIR/lock "$ISQL" -q &&
    FIREBIRD=$FB_HOME FIREBIRD_LOCK=$DIR/lock "$ISQL" -q -user SYSDBA -i "$FB3_SECURITY_SQL" \
      "$SECURITY_DB") 2>&1) || die "building the security database failed: $out"
}

# Embedded access to the security database: the server must not be running yet.
set_accounts() {
  local out
  cat >"$DIR/accounts.sql" <<'EOF'
create or alter user SYSDBA password 'tulipvane' using plugin Srp;
create or alter user QEBVOQ password 'bromel' using plugin Srp;
commit;
EOF
  out=$(FIREBIRD=$FB_HOME FIREBIRD_LOCK=$DIR/lock "$ISQL" -q -user SYSDBA -i "$DIR/accounts.sql" \
    "$SECURITY_DB" 2>&1) || die "setting the accounts failed: $out"
  [[ -z $out ]] || die "setting the accounts failed: $out"

  # Granting twice is an error, so grant only when missing.
  cat >"$DIR/creators.sql" <<'EOF'
set list on;
select count(*) as granted from rdb$db_creators
  where rdb$user = 'QEBVOQ' and rdb$user_type = 8;
EOF
  out=$(FIREBIRD=$FB_HOME FIREBIRD_LOCK=$DIR/lock "$ISQL" -q -user SYSDBA -i "$DIR/creators.sql" \
    "$SECURITY_DB" 2>&1) || die "reading the database creators failed: $out"
  if [[ ! $out =~ GRANTED[[:space:]]+1 ]]; then
    printf 'grant create database to user QEBVOQ;\ncommit;\n' >"$DIR/grant.sql"
    out=$(FIREBIRD=$FB_HOME FIREBIRD_LOCK=$DIR/lock "$ISQL" -q -user SYSDBA -i "$DIR/grant.sql" \
      "$SECURITY_DB" 2>&1) || die "granting CREATE DATABASE failed: $out"
    [[ -z $out ]] || die "granting CREATE DATABASE failed: $out"
  fi
}

start() {
  local pid port waited
  if pid=$(live_pid) && [[ $(readlink "/proc/$pid/exe") == "$FB_SERVER" ]] &&
    port=$(<"$DIR/port") && owns_port "$pid" "$port"; then
    echo "fbserver: already running in $DIR (pid $pid)" >&2
    echo "$VERSION" >"$DIR/version"
    echo "$port"
    return 0
  fi
  # A server left from an earlier run that no longer answers, or one of the other version, is in
  # the way of its lock files.
  if pid=$(live_pid); then
    kill -KILL "$pid" 2>/dev/null || true
    wait_gone "$pid"
  fi
  rm -f "$DIR/pid" "$DIR/port" "$DIR/version"

  port=$(pick_port)
  if [[ $VERSION == 5 ]]; then
    prepare_fb5_root "$port"
  else
    [[ -x $FB3_SERVER ]] || die "$FB3_SERVER not found (package firebird3.0-server)"
    [[ -x $FB3_ISQL ]] || die "$FB3_ISQL not found (package firebird3.0-utils)"
    prepare_fb3_root "$port"
  fi
  set_accounts

  # Its own output goes to a file: an inherited pipe would keep a caller such as ctest waiting.
  FIREBIRD=$FB_HOME FIREBIRD_LOCK=$DIR/lock setsid "$FB_SERVER" </dev/null >"$DIR/server.out" 2>&1 &
  pid=$!
  echo "$pid" >"$DIR/pid"

  for ((waited = 0; waited < START_TIMEOUT * 10; waited++)); do
    if owns_port "$pid" "$port"; then
      echo "$port" >"$DIR/port"
      echo "$VERSION" >"$DIR/version"
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
  rm -f "$DIR/pid" "$DIR/port" "$DIR/version"
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
if [[ $1 == start || $1 == unpack ]]; then
  mkdir -p "$2"
elif [[ ! -d $2 ]]; then
  echo "fbserver: no server running in $2" >&2
  [[ $1 == stop ]] && exit 0 || exit 1
fi
DIR=$(cd "$2" && pwd -P)

FB5_HOME=$DIR/firebird5
FB5_SERVER=$FB5_HOME/bin/firebird
case $VERSION in
  3)
    FB_HOME=$DIR
    FB_SERVER=$FB3_SERVER
    ISQL=$FB3_ISQL
    SECURITY_DB=$DIR/security3.fdb
    FB_LOG=$FB3_LOG
    ;;
  5)
    FB_HOME=$FB5_HOME
    FB_SERVER=$FB5_SERVER
    ISQL=$FB5_HOME/bin/isql
    SECURITY_DB=$FB5_HOME/security5.fdb
    FB_LOG=$FB5_HOME/firebird.log
    ;;
  *) die "TAVREL_FB_SERVER is 3 or 5, not '$VERSION'" ;;
esac

case $1 in
  start) start ;;
  stop) stop ;;
  status) status ;;
  unpack) unpack_fb5 ;;
  *) usage ;;
esac
