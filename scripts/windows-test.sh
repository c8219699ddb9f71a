#!/usr/bin/env bash
# Run the Windows test executables that need no server (scripts/windows-build.sh builds them)
# under Wine with Qt's offscreen platform, through ctest (scripts/wine-run.sh is the emulator).
# With db it runs the database tests instead (label win-db: built with
# TAVREL_WINDOWS_DB_TESTS=ON), against the private Linux servers that ctest starts natively.
#
#   bash scripts/windows-test.sh [db]
#
# The last lines are ctest's summary and the exit code is ctest's.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd -P)
TARGET=x64
source "$ROOT/scripts/windows-env.sh"

case ${1:-} in
  "") labels=(-LE db) ;;
  db) labels=(-L win-db) ;;
  *)
    echo "usage: $0 [db]" >&2
    exit 2
    ;;
esac

wine_start
export QT_QPA_PLATFORM=offscreen
# Qt's offscreen platform on Windows reads fonts from one folder and has none without it.
export QT_QPA_FONTDIR='C:\windows\Fonts'

set +e
ctest --test-dir "$BUILD" --output-on-failure --no-label-summary "${labels[@]}"
status=$?
set -e
wine_stop
exit "$status"
