#!/bin/sh
# Runs the benchmark of README.md: builds the 100 MB and 200 MB files, times
# the library (best of $RUNS, default 5) and the peers on them.
# usage: [RUNS=N] run_bench.sh BUILD_DIR [WORK_DIR]
set -e
build=${1:?usage: run_bench.sh BUILD_DIR [WORK_DIR]}
work=${2:-/tmp/winnow-bench}
here=$(cd "$(dirname "$0")" && pwd)
root=$here/../..
mkdir -p "$work"
[ -f "$work/bench100.ged" ] || python3 "$here/make_bench_file.py" "$work/bench100.ged" 100
[ -f "$work/bench200.ged" ] || python3 "$here/make_bench_file.py" "$work/bench200.ged" 200
bench=$build/bin/winnow_bench
runs=${RUNS:-5}
for f in "$work/bench100.ged" "$work/bench200.ged"; do
  for mode in read-keep read summary; do
    for i in $(seq "$runs"); do "$bench" $mode "$f"; done
  done
  for i in $(seq "$runs"); do "$bench" desc "$f" KROOT; done
done
echo "--- peers on $work/bench100.ged"
/usr/bin/time -f "parse-gedcom peak %M KB, %e s" env NODE_PATH="$root/.deps/npm/node_modules" \
  node --max-old-space-size=8192 "$here/parse_gedcom_peer.js" "$work/bench100.ged" || true
/usr/bin/time -f "grep -c peak %M KB, %e s" grep -c '^0 @[^@]*@ INDI' "$work/bench100.ged"
