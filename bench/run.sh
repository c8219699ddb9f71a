#!/usr/bin/env bash
# Times the window's import of campaign files against what a DBA's isql-fb script and a bare
# insert loop achieve on the same private server, each on a fresh table, and prints a table.
#
#   bench/run.sh [--large]
#
# N = 10,000 and 100,000 lines (also 500,000 with --large, followed by the listing and
# title-click sorts of the year's rows), in both file layouts. Builds the benchmarks first into
# TAVREL_BENCH_BUILD_DIR (default build-bench2, Release). Prints figures only: nothing here
# passes or fails on time.
set -euo pipefail

HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd -P)
ROOT=$(cd "$HERE/.." && pwd -P)
BUILD=${TAVREL_BENCH_BUILD_DIR:-$ROOT/build-bench2}
ISQL=/usr/bin/isql-fb

sizes=(10000 100000)
case ${1:-} in
  "") ;;
  --large) sizes+=(500000) ;;
  *)
    echo "usage: $0 [--large]" >&2
    exit 2
    ;;
esac

die() {
  echo "bench: $*" >&2
  exit 1
}

say() {
  echo "bench: $*" >&2
}

# A program's report, indented under the step that ran it.
show() {
  sed 's/^/  /' >&2
}

# Configured every time, so that targets added since the last run are known.
cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DTAVREL_BENCH=ON -DBUILD_TESTING=OFF \
  >/dev/null
cmake --build "$BUILD" -j2 --target import_bench bare_insert_bench listing_bench >/dev/null

work=$(mktemp -d /tmp/tavrel-bench.XXXXXX)
cleanup() {
  "$ROOT/scripts/fbserver.sh" stop "$work/fb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
# Qt warns on every start without one.
export XDG_RUNTIME_DIR=$work/xdg
mkdir -m 700 "$XDG_RUNTIME_DIR"

port=$("$ROOT/scripts/fbserver.sh" start "$work/fb")
# Candidates carry their year in the file, parties get the window's year, which is this one.
year=$(date +%Y)

# A new installation folder whose voq.ini names a new database on the private server.
new_install() {
  local dir
  dir=$(mktemp -d "$work/install.XXXXXX")
  "$ROOT/scripts/mkdb.sh" "$port" "$dir/SGB_DADOS/VOQDADOS.FDB" >/dev/null
  printf '[VOQ]\nServidor=localhost\nSO_Servidor=LINUX\nPORTACON=%s\nCaminho_Base_Dados=%s/\n' \
    "$port" "$dir" >"$dir/voq.ini"
  echo "$dir"
}

dsn() {
  echo "localhost/$port:$1/SGB_DADOS/VOQDADOS.FDB"
}

# One value from a select in isql-fb's list form.
query() {
  local out
  out=$(echo "set list on; $2" | "$ISQL" -q -user QEBVOQ -password bromel "$(dsn "$1")" 2>&1) ||
    die "isql-fb: $out"
  awk 'NF { print $2; exit }' <<<"$out"
}

# Rows of the table and rewritten rows among them, "rows/rewritten".
stored() {
  query "$1" "select count(*) || '/' || count(LOGIN_ALT_CAM) from GR_CONTRIB_CAMPANHA;"
}

# Bytes of the year's stored values: integers 4, timestamps 8, texts their Windows-1252 length.
raw_size() {
  query "$1" "select sum(4 + octet_length(coalesce(TIPO_CAM, '')) +
    octet_length(coalesce(CNPJ_CAM, '')) + octet_length(coalesce(NOME_CAM, '')) +
    iif(ANO_CAM is null, 0, 4) + iif(COD_TOM_CAM is null, 0, 4) +
    octet_length(coalesce(NATJUR_CAM, '')) + octet_length(coalesce(CNAE_CAM, '')) +
    iif(DATACNPJ_CAM is null, 0, 8) + octet_length(coalesce(LOGIN_INC_CAM, '')) +
    iif(DTA_INC_CAM is null, 0, 8) + octet_length(coalesce(LOGIN_ALT_CAM, '')) +
    iif(DTA_ALT_CAM is null, 0, 8)) from GR_CONTRIB_CAMPANHA where ANO_CAM = $year;"
}

# Rows of the final table, tab-separated: work, N, seconds, then for imports first and last
# tenth (lines/s), peak RSS and raw size of the rows (kB).
results=$work/results
: >"$results"
listings=$work/listings
: >"$listings"

# From import_bench's report: seconds, first and last tenth, peak RSS, tab-separated.
import_figures() {
  awk '/^lines:/ { seconds = $4; rss = $9 }
    /^tenth/ { rate[++k] = $3 }
    END { printf "%s\t%s\t%s\t%s", seconds, rate[1], rate[10], rss }'
}

run_import() {
  local n=$1 file=$2 kind=$3 dir out expected
  dir=$(new_install)
  say "import $kind, $n lines"
  out=$("$BUILD/bench/import_bench" "$dir" "$file" 2>&1) || die "import_bench failed: $out"
  show <<<"$out"
  [[ $out == *"Importado!"* && $out != *Erro* ]] || die "the import did not finish: $out"
  expected="$((n - n / 10))/$((n / 10))"
  [[ $(stored "$dir") == "$expected" ]] ||
    die "the import stored $(stored "$dir") rows/rewritten, not $expected"
  printf '%s\t%s\t%s\t%s\n' "import $kind" "$n" "$(import_figures <<<"$out")" \
    "$(($(raw_size "$dir") / 1024))" >>"$results"
  if [[ $n -ge 500000 ]]; then
    say "listing the year's rows after the $kind import"
    out=$("$BUILD/bench/listing_bench" "$dir" "$year" 2>&1) || die "listing_bench failed: $out"
    show <<<"$out"
    printf '%s, %s lines:\n%s\n' "$kind" "$n" "$out" >>"$listings"
  fi
  rm -rf "$dir"
}

run_isql() {
  local n=$1 script=$2 dir out start end
  dir=$(new_install)
  say "isql-fb script, $n lines"
  start=$(date +%s.%N)
  out=$("$ISQL" -q -bail -ch WIN1252 -user QEBVOQ -password bromel -i "$script" \
    "$(dsn "$dir")" 2>&1) || die "isql-fb failed: $out"
  end=$(date +%s.%N)
  [[ -z $out ]] || die "isql-fb failed: $out"
  [[ $(stored "$dir") == "$((n - n / 10))/0" ]] || die "the script stored $(stored "$dir")"
  printf 'isql UPDATE OR INSERT\t%s\t%s\n' "$n" \
    "$(awk -v s="$start" -v e="$end" 'BEGIN { printf "%.2f", e - s }')" >>"$results"
  rm -rf "$dir"
}

run_bare() {
  local n=$1 dir out
  dir=$(new_install)
  say "bare insert loop, $n lines"
  out=$("$BUILD/bench/bare_insert_bench" "$(dsn "$dir")" "$n" 2>&1) ||
    die "bare_insert_bench failed: $out"
  [[ $(stored "$dir") == "$n/0" ]] || die "the loop stored $(stored "$dir")"
  printf 'bare INSERT loop\t%s\t%s\n' "$n" "$(awk '/^lines:/ { print $4 }' <<<"$out")" \
    >>"$results"
  rm -rf "$dir"
}

files=$work/files
for n in "${sizes[@]}"; do
  say "writing the files of $n lines"
  python3 "$ROOT/scripts/make_samples.py" --lines "$n" "$files" "$year" >/dev/null
  python3 "$HERE/isql_script.py" "$n" "$year" "$files/update_or_insert_$n.sql"
  run_import "$n" "$files/campanha_${n}_$year.txt" .txt
  run_import "$n" "$files/campanha_${n}_$year.csv" .csv
  run_isql "$n" "$files/update_or_insert_$n.sql"
  run_bare "$n"
  rm -f "$files"/*
done

echo "$(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores, load:$(uptime | sed 's/.*load average://')"
echo "Files: 90% new CNPJs, 10% earlier lines again with a later date (rewritten by the import)."
awk -F '\t' '
  { rate[NR] = $2 / $3 }
  $1 ~ /^isql/ { isql[$2] = rate[NR] }
  $1 ~ /^bare/ { bare[$2] = rate[NR] }
  { row[NR] = $0 }
  END {
    printf "%-22s %7s %8s %8s %7s %7s %10s %10s %7s %8s\n", "work", "N", "seconds", "lines/s",
      "x isql", "x bare", "1st tenth", "last tenth", "RSS MB", "rows MB"
    for (i = 1; i <= NR; i++) {
      split(row[i], f, "\t")
      line = sprintf("%-22s %7d %8.2f %8.0f", f[1], f[2], f[3], rate[i])
      if (f[1] ~ /^import/) {
        line = line sprintf(" %6.2fx %6.2fx %10s %10s %7.0f %8.1f", rate[i] / isql[f[2]],
          rate[i] / bare[f[2]], f[4], f[5], f[6] / 1024, f[7] / 1024)
      }
      print line
    }
  }' "$results"
if [[ -s $listings ]]; then
  echo
  cat "$listings"
fi
echo
echo "For reference: new lines at least 1.0x the isql script at 100,000 and 0.25x the bare" \
  "loop; the last tenth within 20% of the first and peak RSS under 2x the rows' raw size at" \
  "500,000; listing under 3 s, a sort under 0.5 s."
