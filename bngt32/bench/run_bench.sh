#!/bin/sh
# bngt32 against GNU gzip -9 and gzip -d; see run_bench.py.
exec python3 "$(dirname "$0")/run_bench.py" "$@"
