#!/usr/bin/env python3
"""How `zebl print` scales with the length of a job: time per page and peak memory.

Composes jobs of 1, 21 and 101 pages of one page kind of page_bench (dense
600 dpi text by default), prints each with `zebl print --stats` to /dev/null
and reports, per job, the CPU time, pages per minute and the peak memory
zebl reports, and, per span of pages, the CPU time each further page added:
pages 2 to 21 are the 21-page job less the 1-page job, pages 22 to 101 the
101-page job less the 21-page job. A player that holds the whole job, or
slows down as it grows, shows a later span dearer than the first and a peak
that grows with the job.

    bench/print_job_scaling.py [--build build/release] [--kind grey-text-600]
                               [--json out/bench/print-job-scaling.json]

Needs the release preset built (page_bench, zebl, the rendering library).
"""
import argparse
import json
import os
import re
import resource
import subprocess
import sys
import tempfile

JOBS = (1, 21, 101)


def print_job(zebl, spool):
    """Prints the job to /dev/null; returns (CPU seconds, zebl's stats line)."""
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    done = subprocess.run([zebl, "print", spool, "-o", "/dev/null", "--stats"], check=True,
                          capture_output=True, text=True)
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpu = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
    stats = next((line for line in done.stdout.splitlines() if line.startswith("stats:")), "")
    return cpu, stats


def peak_mb(stats):
    found = re.search(r"peak memory (\d+) MB", stats)
    return int(found.group(1)) if found else None


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default="build/release")
    parser.add_argument("--kind", default="grey-text-600")
    parser.add_argument("--json", default="out/bench/print-job-scaling.json")
    parser.add_argument("--repeat", type=int, default=2, help="runs per job; the fastest counts")
    args = parser.parse_args()
    bench = os.path.join(args.build, "bench", "page_bench")
    zebl = os.path.join(args.build, "tools", "zebl")
    for tool in (bench, zebl):
        if not os.access(tool, os.X_OK):
            sys.exit(f"print_job_scaling: {tool} is missing: build the release preset first")

    jobs = {}
    with tempfile.TemporaryDirectory(prefix="print-scaling-") as folder:
        for pages in JOBS:
            scenes = os.path.join(folder, f"scenes-{pages}")
            subprocess.run([bench, "--scenes", scenes, str(pages)], check=True)
            spool = os.path.join(folder, f"{args.kind}-{pages}.spl")
            subprocess.run([zebl, "compose", os.path.join(scenes, args.kind + ".scene"), "-o", spool], check=True,
                           stdout=subprocess.DEVNULL)
            runs = [print_job(zebl, spool) for _ in range(max(args.repeat, 1))]
            cpu, stats = min(runs)
            jobs[pages] = {"pages": pages, "spool_mb": os.path.getsize(spool) / 1e6, "cpu_s": cpu,
                           "pages_per_min": pages * 60.0 / cpu if cpu > 0 else None,
                           "peak_mb": max((peak_mb(s) or 0) for _, s in runs) or None}
            os.remove(spool)

    spans = []
    for first, last in zip(JOBS, JOBS[1:]):
        spans.append({"pages": f"{first + 1}-{last}",
                      "ms_per_page": (jobs[last]["cpu_s"] - jobs[first]["cpu_s"]) * 1000.0 / (last - first)})

    print(f"{args.kind}: zebl print to /dev/null, CPU time")
    print(f"{'pages':>6} {'spool MB':>9} {'CPU s':>7} {'pages/min':>10} {'peak MB':>8}")
    for job in jobs.values():
        print(f"{job['pages']:6} {job['spool_mb']:9.1f} {job['cpu_s']:7.2f} {job['pages_per_min'] or 0:10.0f} "
              f"{job['peak_mb'] or 0:8}")
    for span in spans:
        print(f"pages {span['pages']:>7}: {span['ms_per_page']:6.1f} ms a page")

    os.makedirs(os.path.dirname(args.json) or ".", exist_ok=True)
    with open(args.json, "w") as out:
        json.dump({"kind": args.kind, "jobs": list(jobs.values()), "spans": spans}, out, indent=2)
    print(f"wrote {args.json}")


if __name__ == "__main__":
    main()
