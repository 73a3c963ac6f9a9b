#!/usr/bin/env python3
"""bngt32 against GNU gzip on a summary-like XML file: five runs each, medians.

Usage: run_bench.py PATH/TO/bngt32 [WORK_FOLDER] [MEGABYTES]
"""
import os
import shutil
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
RUNS = 5

def timed(command, stdout=None):
    start = time.perf_counter()
    subprocess.run(command, check=True, stdout=stdout)
    return time.perf_counter() - start

def median_of(command, stdout_path=None, before=None):
    times = []
    for _ in range(RUNS):
        if before:
            before()
        if stdout_path:
            with open(stdout_path, "wb") as out:
                times.append(timed(command, out))
        else:
            times.append(timed(command))
    return statistics.median(times), times

def main():
    tool = os.path.abspath(sys.argv[1])
    work = os.path.abspath(sys.argv[2] if len(sys.argv) > 2 else "bngt32-bench")
    megabytes = sys.argv[3] if len(sys.argv) > 3 else "50"
    os.makedirs(work, exist_ok=True)
    source = os.path.join(work, "summary.xml")
    if not os.path.exists(source):
        subprocess.run([sys.executable, os.path.join(HERE, "make_summary.py"), source, megabytes],
                       check=True)
    ours = os.path.join(work, "ours.xml.gz")
    theirs = os.path.join(work, "gnu.xml.gz")
    out_ours = os.path.join(work, "out-ours")
    out_gnu = os.path.join(work, "gnu-restored.xml")

    gt9, gt9_all = median_of([tool, "gzip", "-9", "-o", ours, source])
    gz9, gz9_all = median_of(["gzip", "-9", "-c", source], theirs)
    size_source = os.path.getsize(source)
    size_ours = os.path.getsize(ours)
    size_gnu = os.path.getsize(theirs)

    def clean():
        shutil.rmtree(out_ours, ignore_errors=True)
    ugt1, ugt1_all = median_of([tool, "gunzip", "-f", "-d", out_ours, theirs], before=clean)
    gzd, gzd_all = median_of(["gzip", "-d", "-c", theirs], out_gnu)
    with open(os.path.join(out_ours, "summary.xml"), "rb") as a, open(source, "rb") as b:
        assert a.read() == b.read(), "bngt32 did not restore the bytes"

    print("file: %s, %d bytes" % (source, size_source))
    print("compress level 9: bngt32 %.3f s median %s, gzip -9 %.3f s median %s"
          % (gt9, ["%.3f" % t for t in gt9_all], gz9, ["%.3f" % t for t in gz9_all]))
    print("  sizes: bngt32 %d, gzip -9 %d, bngt32/gzip %.4f" % (size_ours, size_gnu, size_ours / size_gnu))
    print("  speed: bngt32 takes %.2f of gzip -9's time" % (gt9 / gz9))
    print("decompress: bngt32 %.3f s median %s, gzip -d %.3f s median %s"
          % (ugt1, ["%.3f" % t for t in ugt1_all], gzd, ["%.3f" % t for t in gzd_all]))
    print("  speed: bngt32 takes %.2f of gzip -d's time" % (ugt1 / gzd))

if __name__ == "__main__":
    main()
