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
    """Wall time and CPU time (user + system of the child) of one run."""
    before = os.times()
    start = time.perf_counter()
    subprocess.run(command, check=True, stdout=stdout)
    wall = time.perf_counter() - start
    after = os.times()
    cpu = (after.children_user - before.children_user) + (after.children_system - before.children_system)
    return wall, cpu

def run_once(command, stdout_path=None, before=None):
    if before:
        before()
    if stdout_path:
        with open(stdout_path, "wb") as out:
            return timed(command, out)
    return timed(command)

def medians(times):
    """Medians of wall and CPU time, and the CPU times themselves."""
    walls = [t[0] for t in times]
    cpus = [t[1] for t in times]
    return (statistics.median(walls), statistics.median(cpus)), cpus

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

    def clean():
        shutil.rmtree(out_ours, ignore_errors=True)

    # The runs of the two programs alternate, so both see the same load of a
    # shared machine.
    compress_ours, compress_gnu, expand_ours, expand_gnu = [], [], [], []
    for run in range(RUNS):
        pair = [(compress_ours, [tool, "gzip", "-9", "-o", ours, source], None, None),
                (compress_gnu, ["gzip", "-9", "-c", source], theirs, None)]
        for results, command, stdout_path, before in (pair if run % 2 == 0 else pair[::-1]):
            results.append(run_once(command, stdout_path, before))
    for run in range(RUNS):
        pair = [(expand_ours, [tool, "gunzip", "-f", "-d", out_ours, theirs], None, clean),
                (expand_gnu, ["gzip", "-d", "-c", theirs], out_gnu, None)]
        for results, command, stdout_path, before in (pair if run % 2 == 0 else pair[::-1]):
            results.append(run_once(command, stdout_path, before))
    gt9, gt9_all = medians(compress_ours)
    gz9, gz9_all = medians(compress_gnu)
    ugt1, ugt1_all = medians(expand_ours)
    gzd, gzd_all = medians(expand_gnu)
    size_source = os.path.getsize(source)
    size_ours = os.path.getsize(ours)
    size_gnu = os.path.getsize(theirs)
    with open(os.path.join(out_ours, "summary.xml"), "rb") as a, open(source, "rb") as b:
        assert a.read() == b.read(), "bngt32 did not restore the bytes"

    def line(label, ours_t, ours_all, theirs_label, theirs_t, theirs_all):
        print("%s: bngt32 cpu %.3f s (wall %.3f), %s cpu %.3f s (wall %.3f); cpu ratio %.2f, wall ratio %.2f"
              % (label, ours_t[1], ours_t[0], theirs_label, theirs_t[1], theirs_t[0],
                 ours_t[1] / theirs_t[1], ours_t[0] / theirs_t[0]))
        print("  cpu runs: bngt32 %s, %s %s" % (["%.2f" % t for t in ours_all], theirs_label,
                                                  ["%.2f" % t for t in theirs_all]))

    print("file: %s, %d bytes; medians of %d runs" % (source, size_source, RUNS))
    line("compress level 9", gt9, gt9_all, "gzip -9", gz9, gz9_all)
    print("  sizes: bngt32 %d, gzip -9 %d, bngt32/gzip %.4f" % (size_ours, size_gnu, size_ours / size_gnu))
    line("decompress", ugt1, ugt1_all, "gzip -d", gzd, gzd_all)

if __name__ == "__main__":
    main()
