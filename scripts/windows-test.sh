#!/usr/bin/env bash
# Run the Windows test executables that need no server (scripts/windows-build.sh builds them)
# under Wine with Qt's offscreen platform, through ctest (scripts/wine-run.sh is the emulator).
#
#   bash scripts/windows-test.sh
#
# The last lines are ctest's summary and the exit code is ctest's.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd -P)
TARGET=x64
source "$ROOT/scripts/windows-env.sh"

wine_start
export QT_QPA_PLATFORM=offscreen
# Qt's offscreen platform on Windows reads fonts from one folder and has none without it.
export QT_QPA_FONTDIR='C:\windows\Fonts'

set +e
ctest --test-dir "$BUILD" --output-on-failure --no-label-summary -LE db
status=$?
set -e
wine_stop
exit "$status"
