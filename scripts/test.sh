#!/usr/bin/env bash
# Configure, build and run every test. The packages must be installed (.ci/run does that).
#
#   bash scripts/test.sh
#
# TAVREL_BUILD_DIR chooses the build folder (default build/, relative to the repository).
# ctest starts a private Firebird server for the database tests and stops it afterwards,
# also when tests fail; the last lines are ctest's summary and the exit code is ctest's.
# Tests that need a third-party piece nobody has (scripts/thirdparty/pieces.sh) are skipped, not
# failed, outside CI; after the summary come their numbers by the piece they lack.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd -P)
cd "$ROOT"
BUILD=${TAVREL_BUILD_DIR:-build}

cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$BUILD" -j2

set +e
ctest --test-dir "$BUILD" --output-on-failure --no-label-summary
status=$?
set -e
# ctest names the skipped tests; what each one lacked is in its output.
log=$BUILD/Testing/Temporary/LastTest.log
if [[ -f $log ]] && grep -q '^skipped: needs ' "$log"; then
  echo "Tests skipped for want of a third-party piece (scripts/thirdparty/pieces.sh):"
  grep '^skipped: needs ' "$log" | sort | uniq -c
fi
exit "$status"
