#!/usr/bin/env bash
# What a network between workstation and server costs each way of importing a campaign file.
# The import waits for the server at every statement, so on a city hall's LAN its speed is set by
# round trips more than by either machine. The same generated file is imported four ways: by the
# window (import_bench), by tavrel-import line by line, by tavrel-import --bulk, and by a DBA's
# isql-fb script (bench/isql_script.py); each way through bench/lan_proxy, which holds every
# chunk DELAY_MS each way (a round trip of 2 x DELAY_MS), and straight to the server on loopback,
# three times each by turns, every run on a fresh database of one private Firebird 3 server. It
# prints a Markdown table of the median lines/s by both routes and their ratio, the LAN's cost.
# Prints figures only: nothing here passes or fails on time.
#
#   bench/lan.sh [DELAY_MS] [LINES]     defaults 1 and 3000; DELAY_MS may be fractional (0.5)
#
# The window is timed by import_bench itself, from the click on "Importar" to the end of the
# run; tavrel-import and isql-fb by the shell, from start to exit, their attachment included.
# The lines are those of scripts/make_samples.py --lines LINES (90% new CNPJs, 10% earlier lines
# again with a later date), in the fixed-column layout. Builds into TAVREL_BENCH_BUILD_DIR
# (default build-bench2, Release), as bench/run.sh does.
set -euo pipefail

HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd -P)
ROOT=$(cd "$HERE/.." && pwd -P)
BUILD=${TAVREL_BENCH_BUILD_DIR:-$ROOT/build-bench2}
ISQL=/usr/bin/isql-fb

delay=${1:-1}
lines=${2:-3000}
if (($# > 2)) || [[ ! $delay =~ ^[0-9]+(\.[0-9]+)?$ || ! $lines =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: $0 [DELAY_MS] [LINES]" >&2
  exit 2
fi

die() {
  echo "lan: $*" >&2
  exit 1
}

say() {
  echo "lan: $*" >&2
}

cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DTAVREL_BENCH=ON -DBUILD_TESTING=OFF \
  >/dev/null
cmake --build "$BUILD" -j2 --target import_bench lan_proxy tavrel-import >/dev/null

proxy_pid=
bench_cleanup() {
  [[ -z $proxy_pid ]] || kill "$proxy_pid" 2>/dev/null || true
}
source "$HERE/private_server.sh" tavrel-lan

# The proxy, standing for the network, stays with the server, away from the workstation's
# processor.

"${server_side[@]}" "$BUILD/bench/lan_proxy" 0 127.0.0.1 "$port" "$delay" >"$work/proxy.out" 2>&1 &
proxy_pid=$!
for ((waited = 0; waited < 100; waited++)); do
  grep -q '^listening' "$work/proxy.out" && break
  kill -0 "$proxy_pid" 2>/dev/null || die "lan_proxy did not start: $(<"$work/proxy.out")"
  sleep 0.1
done
grep -q '^listening' "$work/proxy.out" || die "lan_proxy did not listen within 10 s"
proxy_port=$(awk '/^listening/ { print $NF; exit }' "$work/proxy.out")

year=$(date +%Y)
files=$work/files
python3 "$ROOT/scripts/make_samples.py" --lines "$lines" "$files" "$year" >/dev/null
file=$files/campanha_${lines}_$year.txt
script=$files/update_or_insert.sql
python3 "$HERE/isql_script.py" "$lines" "$year" "$script"

dsn() {
  echo "127.0.0.1/$1:$2/SGB_DADOS/VOQDADOS.FDB"
}

# A new installation folder with a new database, made straight on the server, and a voq.ini
# naming the port the importers go through; tavrel-import reads the voq.ini beside its own
# executable, found through /proc/self/exe, so it is copied in, not linked.
new_install() {
  local via=$1 dir
  dir=$(mktemp -d "$work/install.XXXXXX")
  "$ROOT/scripts/mkdb.sh" "$port" "$dir/SGB_DADOS/VOQDADOS.FDB" >/dev/null
  printf '[VOQ]\nServidor=127.0.0.1\nSO_Servidor=LINUX\nPORTACON=%s\nCaminho_Base_Dados=%s/\n' \
    "$via" "$dir" >"$dir/voq.ini"
  cp "$BUILD/tavrel-import" "$dir/"
  echo "$dir"
}

# Rows of the table and rewritten rows among them, "rows/rewritten", read straight.
stored() {
  local out
  out=$(echo "set list on; select count(*) || '/' || count(LOGIN_ALT_CAM) from
    GR_CONTRIB_CAMPANHA;" | "$ISQL" -q -user QEBVOQ -password bromel "$(dsn "$port" "$1")" 2>&1) ||
    die "isql-fb: $out"
  awk 'NF { print $2; exit }' <<<"$out"
}

seconds_since() {
  awk -v s="$1" -v e="$(date +%s.%N)" 'BEGIN { printf "%.3f", e - s }'
}

# Imports the file one way into a fresh database through port $2, checks what was stored and
# prints the seconds taken.
import_once() {
  local way=$1 via=$2 dir out start seconds expected
  dir=$(new_install "$via")
  expected="$((lines - lines / 10))/$((lines / 10))"
  start=$(date +%s.%N)
  case $way in
    window)
      out=$("${pinned[@]}" "$BUILD/bench/import_bench" window "$dir" "$file" 2>&1) ||
        die "import_bench failed: $out"
      [[ $out == *"Importado!"* && $out != *Erro* ]] || die "the window did not finish: $out"
      seconds=$(awk '/^lines:/ { print $4 }' <<<"$out")
      ;;
    line | bulk)
      local options=(--login bench --year "$year" --quiet --log none)
      [[ $way == line ]] || options+=(--bulk)
      out=$("${pinned[@]}" "$dir/tavrel-import" "${options[@]}" "$file" 2>&1) ||
        die "tavrel-import ${options[*]} failed: $out"
      seconds=$(seconds_since "$start")
      ;;
    isql)
      out=$("${pinned[@]}" "$ISQL" -q -bail -ch WIN1252 -user QEBVOQ -password bromel \
        -i "$script" "$(dsn "$via" "$dir")" 2>&1) || die "isql-fb failed: $out"
      seconds=$(seconds_since "$start")
      [[ -z $out ]] || die "isql-fb failed: $out"
      # The script's UPDATE OR INSERT rewrites rows without naming who rewrote them.
      expected="$((lines - lines / 10))/0"
      ;;
  esac
  [[ $(stored "$dir") == "$expected" ]] ||
    die "the $way import stored $(stored "$dir") rows/rewritten, not $expected"
  rm -rf "$dir"
  echo "$seconds"
}

# The middle of three runs: on a shared machine single runs on loopback vary by half and more.
median() {
  printf '%s\n' "$@" | sort -g | sed -n 2p
}

ways=(window line bulk isql)
declare -A title=([window]="window (import_bench)" [line]="tavrel-import, line by line"
  [bulk]="tavrel-import --bulk" [isql]="isql-fb script, UPDATE OR INSERT")
declare -A lan loopback
for way in "${ways[@]}"; do
  far=() near=()
  for turn in 1 2 3; do
    say "${title[$way]}, $lines lines, turn $turn: through the LAN ($delay ms each way)"
    far+=("$(import_once "$way" "$proxy_port")")
    say "  ${far[-1]} s; on loopback"
    near+=("$(import_once "$way" "$port")")
    say "  ${near[-1]} s"
  done
  lan[$way]=$(median "${far[@]}")
  loopback[$way]=$(median "${near[@]}")
done

echo "$(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores, load:$(uptime | sed 's/.*load average://')"
echo "$lines lines, a LAN of $delay ms each way (a round trip of $(awk -v d="$delay" \
  'BEGIN { print 2 * d }') ms) against loopback."
echo
echo "| way of importing | lines/s through the LAN | lines/s on loopback | LAN cost (ratio) |"
echo "|---|---:|---:|---:|"
for way in "${ways[@]}"; do
  awk -v name="${title[$way]}" -v n="$lines" -v far="${lan[$way]}" -v near="${loopback[$way]}" \
    'BEGIN { printf "| %s | %.0f | %.0f | %.2fx |\n", name, n / far, n / near, far / near }'
done
