#!/bin/sh
# The bngt32 tool from the outside: gzip, test, gunzip, tar create/add/list/delete/extract.
set -eu
tool="$1"
work="$2"
rm -rf "$work" && mkdir -p "$work/in/sub" && cd "$work"
printf 'first file\n' > in/a.txt
printf 'second file\n' > in/sub/b.txt
"$tool" --help | grep -q "Usage: bngt32"
"$tool" gzip -9 in/a.txt
gzip -t in/a.txt.gz
"$tool" test in/a.txt.gz
"$tool" gunzip -q -d out in/a.txt.gz
cmp out/a.txt in/a.txt
if "$tool" gunzip -q -d out in/a.txt.gz; then echo "existing file overwritten without -f"; exit 1; fi
"$tool" gunzip -q -f -d out in/a.txt.gz
"$tool" tar create t.tar in/a.txt
"$tool" tar add t.tar -r in/sub
test "$(tar -tf t.tar 2>/dev/null | tr '\n' ' ')" = "in/a.txt in/sub/b.txt "
"$tool" tar list t.tar | grep -q "in/sub/b.txt"
"$tool" tar delete t.tar 'in/a.*'
test "$(tar -tf t.tar 2>/dev/null)" = "in/sub/b.txt"
"$tool" tar extract t.tar -d x
cmp x/in/sub/b.txt in/sub/b.txt
if "$tool" frobnicate 2>/dev/null; then exit 1; fi
echo ok
