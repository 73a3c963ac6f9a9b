#!/bin/sh
# Runs the benchmark of README.md: builds the 100 MB and 200 MB files, times
# the library on both (RUNS runs of each measurement, default 7, the two
# files taking turns so that a slow spell of a shared machine falls on both),
# prints every run, then the best processor time of each measurement and the
# ratio between the two files, then runs the peers.
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
runs=${RUNS:-7}
log=$work/runs.txt
: > "$log"
for mode in read-keep read summary desc; do
  for i in $(seq "$runs"); do
    for f in "$work/bench100.ged" "$work/bench200.ged"; do
      if [ "$mode" = desc ]; then "$bench" desc "$f" KROOT; else "$bench" $mode "$f"; fi
    done
  done
done | tee "$log"
echo "--- best of $runs (processor seconds), 100 MB file, 200 MB file, ratio"
awk '{
  mode = $1; big = ($2 ~ /bench200/);
  if (match($0, /cpu [0-9.]+ s/)) cpu = substr($0, RSTART + 4, RLENGTH - 6) + 0; else next;
  key = mode SUBSEP big;
  if (!(key in best) || cpu < best[key]) best[key] = cpu;
  if (match($0, /peak [0-9]+ MB \([0-9.]+ x file\)/)) peak[key] = substr($0, RSTART, RLENGTH);
  if (!(mode in seen)) { seen[mode] = 1; order[++n] = mode }
}
END {
  for (i = 1; i <= n; ++i) {
    m = order[i]; a = best[m SUBSEP 0]; b = best[m SUBSEP 1];
    printf "%-10s %.3f s  %.3f s  ratio %.2f  %s  %s\n", m, a, b, b / a, peak[m SUBSEP 0], peak[m SUBSEP 1];
  }
}' "$log"
echo "--- peers on $work/bench100.ged"
/usr/bin/time -f "parse-gedcom peak %M KB, %e s" env NODE_PATH="$root/.deps/npm/node_modules" \
  node --max-old-space-size=8192 "$here/parse_gedcom_peer.js" "$work/bench100.ged" || true
/usr/bin/time -f "grep -c peak %M KB, %e s" grep -c '^0 @[^@]*@ INDI' "$work/bench100.ged"
