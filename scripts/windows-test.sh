#!/usr/bin/env bash
# Run the Windows test executables that need no server (scripts/windows-build.sh builds them)
# under Wine with Qt's offscreen platform, through ctest (scripts/wine-run.sh is the emulator).
#
#   bash scripts/windows-test.sh
#
# The last lines are ctest's summary and the exit code is ctest's.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd -P)
source "$ROOT/scripts/windows-env.sh"

export QT_QPA_PLATFORM=offscreen
# The first start of Wine makes the prefix, which takes a while: done before any test's clock.
"$WINE" wineboot --init
"$WINESERVER" --wait

set +e
ctest --test-dir "$BUILD" --output-on-failure --no-label-summary -LE db
status=$?
set -e
"$WINESERVER" --kill
exit "$status"
