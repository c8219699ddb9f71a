#!/usr/bin/env bash
# The demo: the program's window on a database of its own, with campaign files to import.
#
#   bash scripts/demo.sh                                    on a desktop
#   xvfb-run -a -s "-screen 0 1280x1024x24" bash scripts/demo.sh   without one
#
# Installs the packages when some are missing, builds the program, starts the private
# Firebird server in run/fbserver, creates the demo database run/demo/SGB_DADOS/VOQDADOS.FDB
# once (owned by SYSDBA, filled by sql/demo_data.sql), writes voq.ini beside the executable,
# writes the sample files into run/samples/ and opens the window for the login "demo".
# The server stops when the window closes. TAVREL_BUILD_DIR chooses the build folder
# (default build/, relative to the repository).
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd -P)
cd "$ROOT"
BUILD=${TAVREL_BUILD_DIR:-build}
RUN=$ROOT/run
SERVER_DIR=$RUN/fbserver
DATABASE=$RUN/demo/SGB_DADOS/VOQDADOS.FDB
SAMPLES=$RUN/samples

die() {
  echo "demo: $*" >&2
  exit 1
}

if [[ -z ${DISPLAY:-} ]]; then
  cat >&2 <<'EOF'
demo: the window needs a display, and DISPLAY is not set.
Without a desktop, run the demo on a virtual display (package xvfb, which
scripts/install-packages.sh installs):

  xvfb-run -a -s "-screen 0 1280x1024x24" bash scripts/demo.sh

or, to take screenshots of it (DISPLAY=:79 import -window root shot.png):

  Xvfb :79 -screen 0 1280x1024x24 &
  DISPLAY=:79 bash scripts/demo.sh
EOF
  exit 1
fi

bash scripts/install-packages.sh

cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$BUILD" -j2 --target tavrel
BUILD=$(cd "$BUILD" && pwd -P)

port=$(bash scripts/fbserver.sh start "$SERVER_DIR")
# shellcheck disable=SC2317  # run by the EXIT trap
stop_server() {
  bash scripts/fbserver.sh stop "$SERVER_DIR" || true
}
trap stop_server EXIT
trap 'exit 130' INT TERM

if [[ ! -f $DATABASE ]]; then
  bash scripts/mkdb.sh "$port" "$DATABASE" SYSDBA >/dev/null
  # isql-fb may exit 0 after a failed statement, so any output at all is a failure.
  if ! out=$(/usr/bin/isql-fb -q -bail -ch UTF8 -user SYSDBA -password tulipvane \
    -i sql/demo_data.sql "localhost/$port:$DATABASE" 2>&1) || [[ -n $out ]]; then
    rm -f "$DATABASE"
    die "filling the demo database failed: $out"
  fi
  echo "demo: created $DATABASE" >&2
fi

# Read by the program at every connection; the port changes with every start of the server.
cat >"$BUILD/voq.ini" <<EOF
[VOQ]
Servidor=localhost
SO_Servidor=LINUX
PORTACON=$port
Caminho_Base_Dados=$RUN/demo/
CaminhoDLLCON=/usr/lib/x86_64-linux-gnu/
DLLCON=libfbclient.so.2
EOF

python3 scripts/make_samples.py "$SAMPLES"

# The browse button starts in the folder of the last chosen file; the first time, the samples.
if [[ ! -f $BUILD/tavrel.ini ]]; then
  printf '[IMPORTACNPJ]\nPATH_ARQ_CNPJ=%s\nEXTENSAO_ARQ=1\n' "$SAMPLES" >"$BUILD/tavrel.ini"
fi

echo "demo: opening the window (login demo); closing it ends the demo" >&2
set +e
"$BUILD/tavrel" demo
status=$?
set -e
exit "$status"
