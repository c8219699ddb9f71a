#!/usr/bin/env bash
# Prints the path of a third-party piece (pieces.sh): the one in ../shared beside the repository,
# else the cache's. Without it, says what is missing and where it comes from, and exits 1.
#
#   bash scripts/thirdparty/locate.sh PIECE
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd -P)
source "$ROOT/scripts/thirdparty/pieces.sh"

(($# == 1)) || {
  echo "usage: $0 PIECE" >&2
  exit 2
}
piece_file "$1" >/dev/null || exit 2
piece_path "$1" || {
  echo "missing: $(piece_need "$1")" >&2
  exit 1
}
