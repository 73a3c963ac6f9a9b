#!/bin/sh
# Seeds for the fuzz target: the small test files whole, the large ones cut
# into pieces of 8 KiB at record boundaries.
set -e
out=${1:?usage: make_corpus.sh FOLDER}
data=$(dirname "$0")/../../../shared/testdata/gedcom
mkdir -p "$out"
for f in "$data"/*.ged; do
  name=$(basename "$f" .ged)
  split -C 8192 -d "$f" "$out/$name."
done
