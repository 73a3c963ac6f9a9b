#!/usr/bin/env python3
"""Builds a large GEDCOM file from renamed copies of the shared test files.

Every cross-reference of copy k gets the suffix "C<k>", so the copies never
share a record. One header opens the file (UTF-8), the copies' own headers and
trailers are left out, and a root couple KROOT/KFROOT is added whose family
has every individual without parents as a child, so that the descendants of
KROOT reach almost the whole file.

usage: make_bench_file.py OUT.ged SIZE_MB
"""
import glob
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.join(HERE, "..", "..", "..", "shared", "testdata", "gedcom")
XREF = re.compile(rb"@([^@\s][^@]*)@")


def records(data):
    """The file's lines without header, trailer and submitter records."""
    if data.startswith(b"\xef\xbb\xbf"):
        data = data[3:]
    lines = data.replace(b"\r\n", b"\n").split(b"\n")
    keep, skip = [], True
    for line in lines:
        if line.startswith(b"0 "):
            skip = line.startswith(b"0 HEAD") or line.startswith(b"0 TRLR")
        if not skip and line:
            keep.append(line)
    return keep


def main():
    out_path, size_mb = sys.argv[1], float(sys.argv[2])
    target = int(size_mb * 1024 * 1024)
    sources = [records(open(p, "rb").read()) for p in sorted(glob.glob(os.path.join(DATA, "*.ged")))]
    with open(out_path, "wb") as out:
        out.write(b"0 HEAD\n1 SOUR Kintrail bench\n1 GEDC\n2 VERS 5.5.1\n1 CHAR UTF-8\n")
        written, copy, roots = 0, 0, []
        while written < target:
            for lines in sources:
                suffix = b"C%d" % copy
                current, has_parents = None, False
                block = []
                for line in lines:
                    line = XREF.sub(lambda m: b"@" + m.group(1) + suffix + b"@", line)
                    if line.startswith(b"0 "):
                        if current is not None and not has_parents:
                            roots.append(current)
                        m = re.match(rb"0 +@([^@]+)@ +INDI", line)
                        current, has_parents = (m.group(1) if m else None), False
                    elif line.startswith(b"1 FAMC"):
                        has_parents = True
                    block.append(line)
                if current is not None and not has_parents:
                    roots.append(current)
                chunk = b"\n".join(block) + b"\n"
                out.write(chunk)
                written += len(chunk)
            copy += 1
        out.write(b"0 @KROOT@ INDI\n1 NAME Root /Bench/\n1 SEX M\n1 FAMS @KFROOT@\n")
        out.write(b"0 @KFROOT@ FAM\n1 HUSB @KROOT@\n")
        for r in roots:
            out.write(b"1 CHIL @" + r + b"@\n")
        out.write(b"0 TRLR\n")
    print("%s: %d copies, %.1f MB, %d roots" % (out_path, copy, os.path.getsize(out_path) / 1e6, len(roots)))


if __name__ == "__main__":
    main()
