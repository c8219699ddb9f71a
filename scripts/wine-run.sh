#!/usr/bin/env bash
# Run a cross-built Windows executable under Wine with the packed Qt's DLLs and plugins and the
# MinGW runtime found where they lie, so the build folder needs no copies of them. ctest runs
# the Windows tests through this script. The target is x64 (the default) or x86, whose Wine
# is 32-bit (scripts/windows-x86-test.sh prepares it where QEMU must run it).
#
#   bash scripts/wine-run.sh [x64|x86] PROGRAM.exe [ARGUMENTS...]
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd -P)
TARGET=x64
if [[ ${1:-} == x64 || ${1:-} == x86 ]]; then
  TARGET=$1
  shift
fi
source "$ROOT/scripts/windows-env.sh"

path=$(windows_path "$QT_MINGW/bin")
for dll in "${RUNTIME_DLLS[@]}"; do
  path+=";$(windows_path "$(dirname "$dll")")"
done
export WINEPATH=$path
# Wine keeps the QT_ variables for Qt on the Linux side and hands WINEQT_X on as QT_X.
while IFS= read -r name; do
  export "WINE$name=${!name}"
done < <(compgen -e | grep '^QT_' || true)
exec "${WINE[@]}" "$@"
