#!/usr/bin/env bash
# Runs a test's command when the third-party pieces it needs (pieces.sh) are at hand.
#
#   TAVREL_NEEDS="PIECE ..." scripts/thirdparty/needs.sh COMMAND [ARG...]
#
# When nobody has one of them the command does not run: one line names what is missing and where
# it comes from ("skipped: needs Firebird 5 (../shared/firebird5/firebird5.tar.xz or
# scripts/thirdparty/firebird5.sh SOURCE)") and the exit code is 77, which ctest counts as a
# skip (SKIP_RETURN_CODE). In CI (CI=true) the same line starts with "missing:" and the exit
# code is 1: CI tests everything.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd -P)
source "$ROOT/scripts/thirdparty/pieces.sh"

(($# > 0)) || {
  echo "usage: TAVREL_NEEDS=\"PIECE ...\" $0 COMMAND [ARG...]" >&2
  exit 2
}
missing=()
for piece in ${TAVREL_NEEDS:-}; do
  piece_file "$piece" >/dev/null || exit 2
  piece_path "$piece" >/dev/null || missing+=("$(piece_need "$piece")")
done
if ((${#missing[@]})); then
  list=${missing[0]}
  for need in "${missing[@]:1}"; do list+=" and $need"; done
  if [[ ${CI:-} == true ]]; then
    echo "missing: needs $list"
    exit 1
  fi
  echo "skipped: needs $list"
  exit 77
fi
exec "$@"
