#!/usr/bin/env bash
# Run the 32-bit Windows test executables that need no window (scripts/windows-build.sh x86
# builds them; with TAVREL_WINDOWS_DB_TESTS=ON also the database tests) under 32-bit Wine, with
# Qt's offscreen platform: those that need no server, then the client layer through Firebird
# 2.5's own 32-bit fbclient.dll against a private Firebird 2.5 server. Without those two pieces
# (scripts/thirdparty/pieces.sh) the client layer is skipped, in CI failed.
# Where the kernel runs no 32-bit Linux program, as on this kind of machine, Wine's 32-bit
# loader runs under QEMU's user emulation: for the length of the run the script registers
# qemu-i386 with binfmt_misc (machine-wide, so as root) and afterwards removes what it
# registered. The packages: scripts/install-packages.sh --windows-x86-test.
#
#   bash scripts/windows-x86-test.sh
#
# The window tests (ui_tests) are left out: under qemu-i386 Wine dies as soon as a window is
# made, in ui_tests' first test ("qemu: uncaught target signal 11"; with Wine's error channels
# on, an assertion in win32u's hook calls first). They need a machine that runs 32-bit code
# natively, or Windows. The write path (write_path_tests) is left out as well: under qemu-i386
# its first case made its database and then waited, with no attachment on the server, until the
# hang limit, twice.
#
# Each executable runs whole, as one Wine process, since every start costs seconds under
# emulation; gtest prints only failures and its summary. The Wine prefix (the x86 folder's
# wine/, 32-bit) is made at the first run. Ends with the time each part took; the exit code
# is 0 when every executable passed.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd -P)
TARGET=x86
source "$ROOT/scripts/windows-env.sh"
source "$ROOT/scripts/thirdparty/pieces.sh"

BINFMT=/proc/sys/fs/binfmt_misc
mounted_binfmt=0
registered_qemu=0
SERVER_DIR=$BUILD/fbserver25
server_started=0
undo() {
  wine_stop
  if [[ $server_started -eq 1 ]]; then
    TAVREL_FB_SERVER=25 bash "$ROOT/scripts/fbserver.sh" stop "$SERVER_DIR"
  fi
  if [[ $registered_qemu -eq 1 ]]; then
    echo -1 >"$BINFMT/qemu-i386"
  fi
  if [[ $mounted_binfmt -eq 1 ]]; then
    umount "$BINFMT"
  fi
}
trap undo EXIT
# Stopped by a signal, the registration is undone as well.
trap 'exit 130' INT TERM

# i386 ELF files, as Debian's qemu-user-static describes them for other hosts; F opens the
# emulator now, so it is found from any mount namespace.
QEMU_I386=':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F'
if ! /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
  echo "windows-x86-test: this kernel runs no 32-bit program; QEMU emulates them" >&2
  if [[ ! -e $BINFMT/register ]]; then
    mount -t binfmt_misc binfmt_misc "$BINFMT"
    mounted_binfmt=1
  fi
  if [[ ! -e $BINFMT/qemu-i386 ]]; then
    printf '%b' "$QEMU_I386" >"$BINFMT/register"
    registered_qemu=1
  fi
fi

start=$SECONDS
wine_start
echo "windows-x86-test: Wine ready in $((SECONDS - start)) s" >&2

export QT_QPA_PLATFORM=offscreen
# Qt's offscreen platform on Windows reads fonts from one folder and has none without it.
export QT_QPA_FONTDIR='C:\windows\Fonts'

# Under emulation a Wine process now and then never ends (seen here: 3 of about 35 starts, all
# soon after a new prefix was made, when its background processes crash now and then), and the
# next ones in the same Wine may wait as well. An executable still running after HANG_LIMIT seconds
# (the slowest here takes 30) counts as such a start: Wine is restarted and it runs once more;
# a second hang, like any failure, fails the run.
HANG_LIMIT=180
failed=()
timings=()
# A further executable is one more line, with the environment it needs (a client library, a
# server's folder) as NAME=VALUE after it; Wine hands the environment on to Windows programs.
run() { # executable in the build, then NAME=VALUE for its environment
  local executable=$1 started=$SECONDS status attempt
  shift
  for attempt in 1 2; do
    echo "== $executable" >&2
    status=0
    timeout -k 10 "$HANG_LIMIT" env "$@" \
      bash "$ROOT/scripts/wine-run.sh" x86 "$BUILD/$executable" --gtest_brief=1 || status=$?
    [[ $attempt -eq 1 && ($status -eq 124 || $status -eq 137) ]] || break
    echo "windows-x86-test: $executable still running after $HANG_LIMIT s; restarting Wine" >&2
    wine_stop
    wine_start
  done
  timings+=("$executable $((SECONDS - started)) s")
  [[ $status -eq 0 ]] || failed+=("$executable (exit $status)")
}

run tests/unit/unit_tests.exe
run tests/unit/campaign_file_tests.exe
run tests/unit/data_tests.exe
run tests/unit/client_load_tests.exe

if [[ ! -f $BUILD/tests/db/firebird_tests.exe ]]; then
  failed+=("the client layer (build with TAVREL_WINDOWS_DB_TESTS=ON)")
elif TAVREL_NEEDS="fbclient-x86 firebird25" bash "$ROOT/scripts/thirdparty/needs.sh" true; then
  client=${TAVREL_WINDOWS_FB_CLIENT:-$(piece_path fbclient-x86)}
  TZ=America/Sao_Paulo TAVREL_FB_SERVER=25 bash "$ROOT/scripts/fbserver.sh" start "$SERVER_DIR" \
    >/dev/null
  server_started=1
  # Each case makes its databases through the Linux tools, which costs more under emulation.
  HANG_LIMIT=900 run tests/db/firebird_tests.exe \
    TAVREL_FB_DIR="$SERVER_DIR" TAVREL_FB_CLIENT="$client"
elif [[ ${CI:-} == true ]]; then
  failed+=("the client layer (a piece is missing)")
fi

printf 'windows-x86-test: %s\n' "${timings[@]}" >&2
if [[ ${#failed[@]} -ne 0 ]]; then
  echo "windows-x86-test: failed: ${failed[*]}" >&2
  exit 1
fi
