#!/usr/bin/env bash
# Build the fuzz targets (clang, libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer) and
# run each in turn over a copy of its seed corpus.
#
#   bash scripts/fuzz.sh [SECONDS_PER_TARGET]     default 60
#
# Installs clang and its sanitizer runtimes when they are missing (as root, or through sudo).
# Builds into build-fuzz/ (TAVREL_FUZZ_BUILD_DIR chooses another folder). Each target runs in
# a scratch folder of its own, in memory when /dev/shm is there (the file targets are several
# times faster there), removed afterwards; <build>/fuzz-runs/<target>/ keeps its corpus, its
# log and any crash-*, timeout-*, oom-* or leak-* input. The saved inputs of
# fuzz/regressions/<target>/ are replayed first. Exits 1 at the first target that fails.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd -P)
cd "$ROOT"
SECONDS_PER_TARGET=${1:-60}
BUILD=${TAVREL_FUZZ_BUILD_DIR:-build-fuzz}
TARGETS=(fixed_column_line delimited_line line_reader ini_file regional_forms caminho_db)
PACKAGES=(clang libclang-rt-14-dev)

die() {
  echo "fuzz: $*" >&2
  exit 1
}

[[ $SECONDS_PER_TARGET =~ ^[1-9][0-9]*$ ]] || die "usage: $0 [SECONDS_PER_TARGET]"

missing=()
for package in "${PACKAGES[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ $status == "install ok installed" ]] || missing+=("$package")
done
if [[ ${#missing[@]} -gt 0 ]]; then
  as_root=()
  [[ $(id -u) -eq 0 ]] || as_root=(sudo)
  echo "fuzz: installing ${missing[*]}" >&2
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y --no-install-recommends "${missing[@]}"
fi

# Debug keeps Qt's assertions in its inline code; the targets add -O1 for speed.
CC=clang CXX=clang++ cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=Debug -DTAVREL_FUZZ=ON \
  -DBUILD_TESTING=OFF >/dev/null
cmake --build "$BUILD" -j2 --target "${TARGETS[@]/%/_fuzz}"
BUILD=$(cd "$BUILD" && pwd -P)

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}

SCRATCH_PARENT=/dev/shm
[[ -d $SCRATCH_PARENT && -w $SCRATCH_PARENT ]] || SCRATCH_PARENT=${TMPDIR:-/tmp}
scratch=
# shellcheck disable=SC2317  # run by the EXIT trap
remove_scratch() {
  [[ -z $scratch ]] || rm -rf "$scratch"
}
trap remove_scratch EXIT

for target in "${TARGETS[@]}"; do
  fuzzer=$BUILD/fuzz/${target}_fuzz
  run=$BUILD/fuzz-runs/$target
  rm -rf "$run"
  mkdir -p "$run/corpus"
  cp fuzz/corpus/"$target"/* "$run/corpus/"
  # The targets write their files in the current folder, so nothing lands elsewhere.
  scratch=$(mktemp -d "$SCRATCH_PARENT/tavrel-fuzz-XXXXXX")
  cd "$scratch"

  regressions=("$ROOT/fuzz/regressions/$target"/*)
  if [[ -e ${regressions[0]} ]] && ! "$fuzzer" "${regressions[@]}" >"$run/replay.log" 2>&1; then
    tail -n 40 "$run/replay.log" >&2
    die "$target: a saved regression input fails again (log: $run/replay.log)"
  fi

  options=(-max_total_time="$SECONDS_PER_TARGET" -timeout=5 -rss_limit_mb=2048
    -malloc_limit_mb=512 -print_final_stats=1 -artifact_prefix="$run/")
  [[ -f $ROOT/fuzz/$target.dict ]] && options+=(-dict="$ROOT/fuzz/$target.dict")
  if ! "$fuzzer" "${options[@]}" "$run/corpus" >"$run/fuzz.log" 2>&1; then
    tail -n 40 "$run/fuzz.log" >&2
    die "$target: failed (log and input: $run)"
  fi
  runs=$(awk '/stat::number_of_executed_units:/ { print $2 }' "$run/fuzz.log")
  echo "fuzz: $target: ${runs:-?} runs in ${SECONDS_PER_TARGET} s, no failure"
  cd "$ROOT"
  remove_scratch
  scratch=
done
