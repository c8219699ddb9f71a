# Sourced by the benchmark scripts, after ROOT is set: a work folder under /tmp, removed at exit,
# and a private Firebird 3 server in it, stopped at exit. With two cores or more the server keeps
# the last one and the benchmarks the others, as on a city hall's network the two never take
# turns on one processor; figures vary far less so. Sets work, port, pinned (the prefix that keeps
# a command off the server's core) and server_side (the one that puts it there). A script with
# more to end at exit defines bench_cleanup first.
#
#   source "$HERE/private_server.sh" NAME     (the work folder is /tmp/NAME.XXXXXX)

work=$(mktemp -d "/tmp/$1.XXXXXX")
cleanup() {
  if declare -F bench_cleanup >/dev/null; then bench_cleanup; fi
  "$ROOT/scripts/fbserver.sh" stop "$work/fb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
# Qt warns on every start without one.
export XDG_RUNTIME_DIR=$work/xdg
mkdir -m 700 "$XDG_RUNTIME_DIR"

port=$("$ROOT/scripts/fbserver.sh" start "$work/fb")
pinned=()
server_side=()
if (($(nproc) >= 2)); then
  taskset -apc "$(($(nproc) - 1))" "$(<"$work/fb/pid")" >/dev/null
  pinned=(taskset -c "0-$(($(nproc) - 2))")
  server_side=(taskset -c "$(($(nproc) - 1))")
fi
