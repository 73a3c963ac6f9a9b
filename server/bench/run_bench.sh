#!/bin/sh
# Load benchmark of kintrail-server: seeds a database with 1000 genealogists
# and 2 million individuals, starts the server on loopback and measures pings
# per second with valid sessions and the latency of genealogist searches for a
# common and a rare surname, with wrk. Usage: run_bench.sh BUILD_DIR [SECONDS]
# With KT_BENCH_DB naming a database seeded earlier, that one is used (copied).
set -eu
build=${1:?build directory}
seconds=${2:-10}
here=$(cd "$(dirname "$0")" && pwd)
server=
work=$(mktemp -d /tmp/kintrail-bench.XXXXXX)
trap '[ -n "$server" ] && kill "$server" 2>/dev/null; [ -n "$server" ] && wait "$server" 2>/dev/null; rm -rf "$work"' EXIT INT TERM
ninja -C "$build" server_bench_seed kintrail-server >/dev/null
if [ -n "${KT_BENCH_DB:-}" ] && [ -f "$KT_BENCH_DB" ]; then
  cp "$KT_BENCH_DB" "$work/bench.db"
else
  echo "seeding $work/bench.db"
  /usr/bin/time -f "seed: %e s, %M KiB" "$build/bin/server_bench_seed" "$work/bench.db" "$work/tokens" 1000 2000000 0
fi
# Opening once brings the schema up to date before anything is timed.
"$build/bin/kintrail-server" --db "$work/bench.db" --gazetteer none stats | grep individuals
"$build/bin/server_bench_seed" "$work/bench.db" "$work/tokens" --sessions 200
"$build/bin/kintrail-server" --db "$work/bench.db" --gazetteer none --listen 127.0.0.1:0 \
  >"$work/out" 2>/dev/null &
server=$!
for _ in $(seq 100); do grep -q listening "$work/out" 2>/dev/null && break; sleep 0.1; done
port=$(sed -n 's/.*127\.0\.0\.1:\([0-9]*\).*/\1/p' "$work/out")
url="http://127.0.0.1:$port"
export KT_TOKENS="$work/tokens"
echo "== pings, 64 connections, ${seconds}s"
wrk -t2 -c64 -d"${seconds}s" -s "$here/ping.lua" "$url"
for years in "0 10000" "1700 1750"; do
  for name in COMMON RARE; do
    echo "== genealogist search $name, years $years, 8 connections, ${seconds}s"
    sleep 3  # let the previous run's queued requests drain
    KT_NAME=$name KT_YEARS=$years wrk -t2 -c8 -d"${seconds}s" --latency -s "$here/search.lua" "$url"
  done
done
echo "== reply of the last search"
curl -s -X POST -b "KTSESSION=$(head -1 "$work/tokens")" \
  --data-binary "<getrows page='1'><params lastname=\"COMMON\" minyear='0' maxyear='10000'/></getrows>" \
  "$url/worldsearch/searchgenealogists.asp" | head -c 400; echo
