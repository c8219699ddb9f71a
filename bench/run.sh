#!/usr/bin/env bash
# Times the import of campaign files, by the window and by the import part alone, against its
# protocol floor (the same statements a line in a bare loop) and a DBA's isql-fb script, on the
# same private server, each on a fresh table, and prints a table with the ratios.
#
#   bench/run.sh [--large]
#
# N = 10,000 and 100,000 lines (also 500,000 with --large, followed by the listing and
# title-click sorts of the year's rows), in both file layouts. Floor, part and window take turns,
# three times each below 500,000 lines (once at 500,000), and each is shown by its median run:
# single runs on a shared machine vary by 10% and more. Builds the benchmarks first into
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
cmake --build "$BUILD" -j2 --target import_bench protocol_floor_bench listing_bench \
  fetch_floor_bench >/dev/null

source "$HERE/private_server.sh" tavrel-bench
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

# Rows of the final table, tab-separated: work, N, seconds, then for the program's imports and
# the floor first and last tenth (lines/s), peak RSS (kB), the process's own processor seconds
# and raw size of the rows (kB).
results=$work/results
: >"$results"
listings=$work/listings
: >"$listings"

# From a report of TenthsClock: seconds, first and last tenth, peak RSS, processor seconds,
# tab-separated.
clock_figures() {
  awk '/^lines:/ { seconds = $4; rss = $9; cpu = $12 }
    /^tenth/ { rate[++k] = $3 }
    END { printf "%s\t%s\t%s\t%s\t%s", seconds, rate[1], rate[10], rss, cpu }'
}

# Processor seconds the server has used since it started.
server_cpu() {
  awk -v tick="$(getconf CLK_TCK)" '{ printf "%.2f", ($14 + $15) / tick }' \
    "/proc/$(<"$work/fb/pid")/stat"
}

# What every import of a generated file stores: 90% new rows, 10% of them rewritten.
check_stored() {
  local dir=$1 n=$2 what=$3 expected="$(($2 - $2 / 10))/$(($2 / 10))"
  [[ $(stored "$dir") == "$expected" ]] ||
    die "$what stored $(stored "$dir") rows/rewritten, not $expected"
}

# mode: window or part (see import_bench).
run_import() {
  local mode=$1 n=$2 file=$3 kind=$4 dir out before
  dir=$(new_install)
  say "import by the $mode, $kind, $n lines"
  out=$("${pinned[@]}" "$BUILD/bench/import_bench" "$mode" "$dir" "$file" 2>&1) ||
    die "import_bench failed: $out"
  show <<<"$out"
  [[ $out == *"Importado!"* && $out != *Erro* ]] || die "the import did not finish: $out"
  check_stored "$dir" "$n" "the import"
  printf '%s\t%s\t%s\t%s\n' "$mode $kind" "$n" "$(clock_figures <<<"$out")" \
    "$(($(raw_size "$dir") / 1024))" >>"$results"
  if [[ $mode == window && $n -ge 500000 ]]; then
    say "listing the year's rows after the $kind import"
    out=$("${pinned[@]}" "$BUILD/bench/listing_bench" "$dir" "$year" 2>&1) ||
      die "listing_bench failed: $out"
    show <<<"$out"
    printf '%s, %s lines:\n%s\n' "$kind" "$n" "$out" >>"$listings"
    before=$(server_cpu)
    out=$("${pinned[@]}" "$BUILD/bench/fetch_floor_bench" "$(dsn "$dir")" "$year" 2>&1) ||
      die "fetch_floor_bench failed: $out"
    show <<<"$out"
    printf 'the same rows fetched with nothing done with them: %s\n' "$out" >>"$listings"
    printf "the server's processor during that fetch: %.2f s\n" \
      "$(awk -v a="$before" -v b="$(server_cpu)" 'BEGIN { print b - a }')" >>"$listings"
  fi
  rm -rf "$dir"
}

run_floor() {
  local n=$1 file=$2 kind=$3 dir out
  dir=$(new_install)
  say "protocol floor, $kind, $n lines"
  out=$("${pinned[@]}" "$BUILD/bench/protocol_floor_bench" "$(dsn "$dir")" "$file" "$year" 2>&1) ||
    die "protocol_floor_bench failed: $out"
  show <<<"$out"
  check_stored "$dir" "$n" "the floor"
  printf '%s\t%s\t%s\t%s\n' "floor $kind" "$n" "$(clock_figures <<<"$out")" \
    "$(($(raw_size "$dir") / 1024))" >>"$results"
  rm -rf "$dir"
}

run_isql() {
  local n=$1 script=$2 dir out start end
  dir=$(new_install)
  say "isql-fb script, $n lines"
  start=$(date +%s.%N)
  out=$("${pinned[@]}" "$ISQL" -q -bail -ch WIN1252 -user QEBVOQ -password bromel -i "$script" \
    "$(dsn "$dir")" 2>&1) || die "isql-fb failed: $out"
  end=$(date +%s.%N)
  [[ -z $out ]] || die "isql-fb failed: $out"
  [[ $(stored "$dir") == "$((n - n / 10))/0" ]] || die "the script stored $(stored "$dir")"
  printf 'isql UPDATE OR INSERT\t%s\t%s\n' "$n" \
    "$(awk -v s="$start" -v e="$end" 'BEGIN { printf "%.2f", e - s }')" >>"$results"
  rm -rf "$dir"
}

files=$work/files
for n in "${sizes[@]}"; do
  say "writing the files of $n lines"
  python3 "$ROOT/scripts/make_samples.py" --lines "$n" "$files" "$year" >/dev/null
  python3 "$HERE/isql_script.py" "$n" "$year" "$files/update_or_insert_$n.sql"
  turns=3
  ((n < 500000)) || turns=1
  for kind in .txt .csv; do
    file=$files/campanha_${n}_$year$kind
    for ((turn = 1; turn <= turns; turn++)); do
      run_floor "$n" "$file" "$kind"
      run_import part "$n" "$file" "$kind"
      run_import window "$n" "$file" "$kind"
    done
  done
  run_isql "$n" "$files/update_or_insert_$n.sql"
  rm -f "$files"/*
done

echo "$(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores, load:$(uptime | sed 's/.*load average://')"
echo "Files: 90% new CNPJs, 10% earlier lines again with a later date (rewritten by the import)."
# Each work and N by its median run (by seconds), in the order first run.
LC_ALL=C sort -t $'\t' -s -k1,1 -k2,2n -k3,3n "$results" | awk -F '\t' '
  { key = $1 FS $2; runs[key] = runs[key] RS $0; count[key]++ }
  END { for (key in runs) { split(substr(runs[key], 2), r, RS); print r[int((count[key] + 1) / 2)] } }
' >"$work/medians"
awk -F '\t' 'NR == FNR { median[$1 FS $2] = $0; next }
  !(($1 FS $2) in done) { done[$1 FS $2] = 1; print median[$1 FS $2] }' "$work/medians" "$results" \
  >"$work/table"
awk -F '\t' '
  { rate[NR] = $2 / $3; split($1, w, " "); row[NR] = $0 }
  w[1] == "floor" { floor[w[2], $2] = rate[NR] }
  w[1] == "isql" { isql[$2] = rate[NR] }
  END {
    printf "%-22s %7s %8s %8s %7s %7s %10s %10s %7s %9s %8s\n", "work", "N", "seconds", "lines/s",
      "x floor", "x isql", "1st tenth", "last tenth", "RSS MB", "cpu us/ln", "rows MB"
    for (i = 1; i <= NR; i++) {
      split(row[i], f, "\t")
      split(f[1], w, " ")
      line = sprintf("%-22s %7d %8.2f %8.0f", f[1], f[2], f[3], rate[i])
      if (w[1] != "isql") {
        line = line sprintf(" %6.2fx %6.2fx %10s %10s %7.0f %9.0f %8.1f",
          rate[i] / floor[w[2], f[2]], rate[i] / isql[f[2]], f[4], f[5], f[6] / 1024,
          f[7] * 1e6 / f[2], f[8] / 1024)
      }
      print line
    }
  }' "$work/table"
if [[ -s $listings ]]; then
  echo
  cat "$listings"
fi
echo
echo "For reference: at 100,000 lines the window at least 0.9x its floor and the part alone" \
  "0.97x; at 500,000 the last tenth within 10% of the first and the window's peak RSS under" \
  "2x the rows' raw size; the year's rows listed in 1 s, a sort under 0.5 s."
