#!/usr/bin/env python3
"""Times velkor-cli as a user meets it: one cold process per run (warm file
cache), wall time from spawn to exit, peak memory (ru_maxrss), minor page
faults and system time of the child from wait4. With several binaries the runs
are interleaved (binary A, binary B, A, B, ...) so that both see the same load
on a shared machine; medians per binary and case. CPU time (user + system of
the child) is reported beside the wall time: on a loaded machine the wall
time mostly measures the wait for a core.

Usage: whole_process.py [--runs N] [--cases a,b] [--batch] CLI [CLI ...]
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time


def run(argv):
    start = time.perf_counter()
    # Output and status lines go nowhere, so that a terminal's speed is not measured.
    pid = os.posix_spawn(argv[0], argv, os.environ,
                         file_actions=[(os.POSIX_SPAWN_OPEN, 1, os.devnull, os.O_WRONLY, 0),
                                       (os.POSIX_SPAWN_OPEN, 2, os.devnull, os.O_WRONLY, 0)])
    _, status, usage = os.wait4(pid, 0)
    wall = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit("failed: " + " ".join(argv))
    return wall, usage.ru_maxrss / 1024.0, usage.ru_minflt, usage.ru_stime, usage.ru_utime + usage.ru_stime


def cases(out):
    srf = os.path.join(out, "input.srf")
    return {
        "do-all": ["do-all", os.path.join(out, "static.srf")],
        "do-all-3steps": ["do-all", "--step-sample", "3", os.path.join(out, "steps3.srf")],
        "do-all-animated": ["do-all", "--animated", os.path.join(out, "animated.srf")],
        "srf2png": ["srf2png", srf, os.path.join(out, "out.png")],
    }, srf


def batch(cli, out, vehicles, jobs):
    # 100 vehicles: one velkor-cli process each, `jobs` at a time (xargs -P).
    names = "\n".join(os.path.join(out, "v%03d.srf" % i) for i in range(vehicles))
    start = time.perf_counter()
    subprocess.run(["xargs", "-P", str(jobs), "-I{}", cli, "do-all", "{}"], input=names.encode(),
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
    return vehicles / (time.perf_counter() - start)


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--runs", type=int, default=15)
    p.add_argument("--cases", default="do-all,do-all-3steps,do-all-animated,srf2png")
    p.add_argument("--batch", type=int, default=0, help="also run a batch of this many vehicles, 1 and 2 jobs")
    p.add_argument("cli", nargs="+")
    a = p.parse_args()
    clis = [os.path.abspath(c) for c in a.cli]
    out = tempfile.mkdtemp(prefix="velkor-whole-")
    try:
        table, srf = cases(out)
        subprocess.run([clis[0], "do-all", srf], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
        chosen = a.cases.split(",")
        results = {(c, k): [] for c in clis for k in chosen}
        for c in clis + clis:  # warm-up: file cache, dynamic loader
            for k in chosen:
                run([c] + table[k])
        for _ in range(a.runs):
            for k in chosen:
                for c in clis:
                    results[(c, k)].append(run([c] + table[k]))
        print("%-16s %-40s %9s %9s %9s %8s %9s" % ("case", "binary", "wall ms", "cpu ms", "peak MB", "minflt",
                                                    "sys ms"))
        for k in chosen:
            for c in clis:
                r = results[(c, k)]
                print("%-16s %-40s %9.1f %9.1f %9.1f %8d %9.1f" % (
                    k, c[-40:], 1000 * statistics.median(x[0] for x in r),
                    1000 * statistics.median(x[4] for x in r), max(x[1] for x in r),
                    statistics.median(x[2] for x in r), 1000 * statistics.median(x[3] for x in r)))
        if a.batch:
            for c in clis:
                for jobs in (1, 2):
                    print("batch %d vehicles, %d job(s), %s: %.1f vehicles/s" % (
                        a.batch, jobs, c[-40:], batch(c, out, a.batch, jobs)))
    finally:
        shutil.rmtree(out)


if __name__ == "__main__":
    main()
