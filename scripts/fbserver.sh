#!/usr/bin/env bash
# A private Firebird server for the tests, the demo and the benchmarks.
#
#   scripts/fbserver.sh start DIR    prepare DIR if needed, start the server, print its port
#   scripts/fbserver.sh stop DIR     stop the server started in DIR
#   scripts/fbserver.sh status DIR   print the port and exit 0 when the server answers
#   scripts/fbserver.sh unpack DIR   only unpack the packed tree of TAVREL_FB_SERVER into DIR
#
# The server runs as an ordinary process on a free loopback port with DIR as its root, so it
# never touches the machine's own Firebird service or its security database.
# Accounts: SYSDBA/tulipvane and QEBVOQ/bromel; QEBVOQ may create databases.
#
# TAVREL_FB_SERVER chooses the server:
#   3   Debian's Firebird 3 (the default)
#   5   Firebird 5, the packed tree firebird5/firebird5.tar.xz
#   25  Firebird 2.5, firebird25/firebird25.tar.xz
#   21  Firebird 2.1, firebird21/firebird21.tar.xz
# A packed tree is taken from ../shared beside the repository, else from the cache where
# scripts/thirdparty/ builds it (scripts/thirdparty/pieces.sh; TAVREL_FIREBIRD5_TAR,
# TAVREL_FIREBIRD25_TAR, TAVREL_FIREBIRD21_TAR name another copy), and unpacked into
# DIR/firebird5, DIR/firebird25 or DIR/firebird21 at its first start; its client library is then
# DIR/firebirdN/lib/libfbclient.so.2. DIR/version holds the running server's major and minor
# version (3.0, 5.0, 2.5, 2.1).
#
# Firebird 3 and 5 also take the legacy login of a Firebird 2.x client: the accounts exist in
# both user managers, and wire encryption is offered, not required. Firebird 2.x keeps only 8
# bytes of a password.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd -P)
source "$ROOT/scripts/thirdparty/pieces.sh"
VERSION=${TAVREL_FB_SERVER:-3}
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

# The pid in DIR/pid when that process is still a Firebird server started in DIR, of any
# version (guards against pid reuse).
live_pid() {
  local pid exe
  [[ -f $DIR/pid ]] || return 1
  pid=$(<"$DIR/pid")
  [[ $pid =~ ^[0-9]+$ ]] || return 1
  exe=$(readlink "/proc/$pid/exe" 2>/dev/null) || return 1
  case $exe in
    "$FB3_SERVER" | "$DIR/firebird5/bin/firebird" | "$DIR"/firebird2[15]/bin/fbserver) ;;
    *) return 1 ;;
  esac
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

# What a Firebird 2.x client needs of a Firebird 3 or later server: its legacy login, accounts
# in the legacy user manager, and no required wire encryption, which it cannot do.
legacy_login_conf() {
  cat <<EOF
AuthServer = $1, Legacy_Auth
UserManager = Srp, Legacy_UserManager
WireCrypt = Enabled
EOF
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
  {
    cat <<EOF
RemoteServicePort = $port
RemoteBindAddress = 127.0.0.1
SecurityDatabase = $SECURITY_DB
ServerMode = Super
EOF
    legacy_login_conf Srp
  } >"$DIR/firebird.conf"
  cat >"$DIR/databases.conf" <<EOF
security.db = $SECURITY_DB
{
	RemoteAccess = false
}
EOF
}

# The tree finds its plugins, messages and security database relative to itself, so its own
# firebird.conf needs only the port and the logins.
prepare_fb5_root() {
  local port=$1
  unpack_tree
  mkdir -p "$DIR/lock" "$DIR/dbs"
  {
    cat <<EOF
RemoteServicePort = $port
RemoteBindAddress = 127.0.0.1
ServerMode = Super
EOF
    legacy_login_conf Srp256
  } >"$FB_HOME/firebird.conf"
}

# The tree's own firebird.conf, all defaults, gets the port, the address and a sort folder of
# its own; the lines of an earlier start are replaced.
prepare_fb2_root() {
  local port=$1
  unpack_tree
  mkdir -p "$LOCK_DIR" "$FB_HOME/tmp" "$DIR/dbs"
  sed -i -e '/^RemoteServicePort *=/d' -e '/^RemoteBindAddress *=/d' -e '/^TempDirectories *=/d' \
    "$FB_HOME/firebird.conf"
  printf 'RemoteServicePort = %s\nRemoteBindAddress = 127.0.0.1\nTempDirectories = %s\n' \
    "$port" "$FB_HOME/tmp" >>"$FB_HOME/firebird.conf"
}

unpack_tree() {
  local part=$FB_HOME.part tar
  [[ -x $FB_SERVER ]] && return 0
  tar=$(piece_path "firebird$VERSION") || die "needs $(piece_need "firebird$VERSION")"
  rm -rf "$part"
  mkdir -p "$part"
  tar -xJf "$tar" -C "$part" --strip-components=1 || die "unpacking $tar failed"
  # Firebird 5's libtomcrypt links point into the folder it was built in; Debian's
  # libtomcrypt1 serves.
  find "$part/lib" -xtype l -delete
  mv "$part" "$FB_HOME"
}

# The package's post-install step builds its security database this way; used only when that
# database is missing.
make_security_db() {
  local out
  [[ -f $FB3_SECURITY_SQL ]] || die "neither $FB3_SECURITY nor $FB3_SECURITY_SQL found"
  out=$( (echo "create database '$SECURITY_DB';" |
    env "${FB_ENV[@]}" "$ISQL" -q &&
    env "${FB_ENV[@]}" "$ISQL" -q -user SYSDBA -i "$FB3_SECURITY_SQL" "$SECURITY_DB") 2>&1) ||
    die "building the security database failed: $out"
}

# Firebird 3 and 5: embedded access to the security database, so the server must not be running
# yet. Each account in both user managers, with the same password.
set_accounts() {
  local out
  cat >"$DIR/accounts.sql" <<'EOF'
create or alter user SYSDBA password 'tulipvane' using plugin Srp;
create or alter user QEBVOQ password 'bromel' using plugin Srp;
create or alter user SYSDBA password 'tulipvane' using plugin Legacy_UserManager;
create or alter user QEBVOQ password 'bromel' using plugin Legacy_UserManager;
commit;
EOF
  out=$(env "${FB_ENV[@]}" "$ISQL" -q -user SYSDBA -i "$DIR/accounts.sql" "$SECURITY_DB" 2>&1) ||
    die "setting the accounts failed: $out"
  [[ -z $out ]] || die "setting the accounts failed: $out"

  # Granting twice is an error, so grant only when missing.
  cat >"$DIR/creators.sql" <<'EOF'
set list on;
select count(*) as granted from rdb$db_creators
  where rdb$user = 'QEBVOQ' and rdb$user_type = 8;
EOF
  out=$(env "${FB_ENV[@]}" "$ISQL" -q -user SYSDBA -i "$DIR/creators.sql" "$SECURITY_DB" 2>&1) ||
    die "reading the database creators failed: $out"
  if [[ ! $out =~ GRANTED[[:space:]]+1 ]]; then
    printf 'grant create database to user QEBVOQ;\ncommit;\n' >"$DIR/grant.sql"
    out=$(env "${FB_ENV[@]}" "$ISQL" -q -user SYSDBA -i "$DIR/grant.sql" "$SECURITY_DB" 2>&1) ||
      die "granting CREATE DATABASE failed: $out"
    [[ -z $out ]] || die "granting CREATE DATABASE failed: $out"
  fi
}

# gsec of the tree, as SYSDBA with password $2, through the server on port $1. Its warning that
# only 8 bytes of a password count is no failure.
fb2_gsec() {
  local port=$1 password=$2
  shift 2
  env "${FB_ENV[@]}" "$FB_HOME/bin/gsec" -user SYSDBA -password "$password" \
    -database "localhost/$port:$SECURITY_DB" "$@" 2>&1 |
    grep -v '^Warning - maximum 8 significant bytes of password used$' || true
}

# Firebird 2.x: gsec needs the running server. The tree comes with SYSDBA/masterkey; any user may
# create databases there.
set_fb2_accounts() {
  local port=$1 out
  if ! fb2_gsec "$port" tulipvane -display SYSDBA | grep -q '^SYSDBA '; then
    out=$(fb2_gsec "$port" masterkey -modify SYSDBA -pw tulipvane)
    [[ -z $out ]] || return 1
  fi
  if fb2_gsec "$port" tulipvane -display QEBVOQ | grep -q '^QEBVOQ '; then
    out=$(fb2_gsec "$port" tulipvane -modify QEBVOQ -pw bromel)
  else
    out=$(fb2_gsec "$port" tulipvane -add QEBVOQ -pw bromel)
  fi
  [[ -z $out ]] || return 1
}

start() {
  local pid port waited out
  if pid=$(live_pid) && [[ $(readlink "/proc/$pid/exe") == "$FB_SERVER" ]] &&
    port=$(<"$DIR/port") && owns_port "$pid" "$port"; then
    echo "fbserver: already running in $DIR (pid $pid)" >&2
    echo "$VERSION_NAME" >"$DIR/version"
    echo "$port"
    return 0
  fi
  # A server left from an earlier run that no longer answers, or one of another version, is in
  # the way of its lock files.
  if pid=$(live_pid); then
    kill -KILL "$pid" 2>/dev/null || true
    wait_gone "$pid"
  fi
  rm -f "$DIR/pid" "$DIR/port" "$DIR/version"

  port=$(pick_port)
  case $VERSION in
    3)
      [[ -x $FB3_SERVER ]] || die "$FB3_SERVER not found (package firebird3.0-server)"
      [[ -x $FB3_ISQL ]] || die "$FB3_ISQL not found (package firebird3.0-utils)"
      prepare_fb3_root "$port"
      set_accounts
      ;;
    5)
      prepare_fb5_root "$port"
      set_accounts
      ;;
    *) prepare_fb2_root "$port" ;;
  esac

  # Its own output goes to a file: an inherited pipe would keep a caller such as ctest waiting.
  env "${FB_ENV[@]}" setsid "$FB_SERVER" </dev/null >"$DIR/server.out" 2>&1 &
  pid=$!
  echo "$pid" >"$DIR/pid"

  for ((waited = 0; waited < START_TIMEOUT * 10; waited++)); do
    if owns_port "$pid" "$port"; then
      if [[ $VERSION == 2? ]] && ! out=$(set_fb2_accounts "$port"); then
        end_server "$pid"
        rm -f "$DIR/pid"
        die "setting the accounts failed: $out"
      fi
      echo "$port" >"$DIR/port"
      echo "$VERSION_NAME" >"$DIR/version"
      echo "fbserver: started Firebird $VERSION_NAME in $DIR (pid $pid, port $port)" >&2
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

# True when process $1 is gone within $2 tenths of a second.
gone_within() {
  local pid=$1 waited
  for ((waited = 0; waited < $2; waited++)); do
    [[ -e /proc/$pid ]] || return 0
    # A zombie has ended already; only its parent's reaping is missing.
    [[ $(awk '{print $3}' "/proc/$pid/stat" 2>/dev/null) == Z ]] && return 0
    sleep 0.1
  done
  return 1
}

wait_gone() {
  gone_within "$1" 100 || die "process $1 did not end"
}

# Firebird 2.x ends on SIGTERM, closing its databases. Started this way Firebird 3 and 5 ignore
# SIGTERM and SIGINT; forced writes keep their databases whole through SIGKILL.
end_server() {
  local pid=$1
  if [[ $(readlink "/proc/$pid/exe" 2>/dev/null) == */fbserver ]]; then
    kill -TERM "$pid" 2>/dev/null || true
    gone_within "$pid" 100 && return 0
  fi
  kill -KILL "$pid" 2>/dev/null || true
  wait_gone "$pid"
}

stop() {
  local pid
  if pid=$(live_pid); then
    end_server "$pid"
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

case $VERSION in
  3)
    VERSION_NAME=3.0
    FB_HOME=$DIR
    FB_SERVER=$FB3_SERVER
    ISQL=$FB3_ISQL
    SECURITY_DB=$DIR/security3.fdb
    FB_LOG=$FB3_LOG
    FB_ENV=(FIREBIRD="$FB_HOME" FIREBIRD_LOCK="$DIR/lock")
    ;;
  5)
    VERSION_NAME=5.0
    FB_HOME=$DIR/firebird5
    FB_SERVER=$FB_HOME/bin/firebird
    ISQL=$FB_HOME/bin/isql
    SECURITY_DB=$FB_HOME/security5.fdb
    FB_LOG=$FB_HOME/firebird.log
    FB_ENV=(FIREBIRD="$FB_HOME" FIREBIRD_LOCK="$DIR/lock")
    ;;
  25 | 21)
    VERSION_NAME=${VERSION:0:1}.${VERSION:1:1}
    FB_HOME=$DIR/firebird$VERSION
    FB_SERVER=$FB_HOME/bin/fbserver
    SECURITY_DB=$FB_HOME/security2.fdb
    FB_LOG=$FB_HOME/firebird.log
    # Kept inside the tree, away from the lock files of the other versions run in DIR. Without
    # FIREBIRD the tools and the client look for their messages under a prefix that does not
    # exist.
    LOCK_DIR=$FB_HOME/lock
    FB_ENV=(FIREBIRD="$FB_HOME" FIREBIRD_LOCK="$LOCK_DIR" FIREBIRD_TMP="$FB_HOME/tmp"
      FIREBIRD_MSG="$FB_HOME")
    ;;
  *) die "TAVREL_FB_SERVER is 3, 5, 25 or 21, not '$VERSION'" ;;
esac

case $1 in
  start) start ;;
  stop) stop ;;
  status) status ;;
  unpack)
    [[ $VERSION != 3 ]] || die "Debian's Firebird 3 is installed, not unpacked"
    unpack_tree
    ;;
  *) usage ;;
esac
