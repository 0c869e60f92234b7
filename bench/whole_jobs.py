#!/usr/bin/env python3
"""Whole jobs of the batch tool, timed as a user runs them: one process per step, on generated
sites of 1000, 8000 and 32763 points (a concave border, breaklines, and a second surface raised
by a mound for the volume).

    bench/whole_jobs.py [--build BUILD] [--baseline OTHER-TERRAVUE-CLI] [--runs N] [--sizes 1000,8000]

Prints the median wall time of each step in milliseconds, and the median processor time (user
and system) beside it, which other work on a shared machine disturbs less. With --baseline the
two batch tools run alternately, step by step, so that the machine's drift falls on both alike;
the ratios are this build's medians over the baseline's, and the files each wrote are compared
by their hashes.
"""

import argparse
import hashlib
import os
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path


def run(command, cwd):
    """Wall and processor milliseconds of one run."""
    start = time.perf_counter()
    child = subprocess.Popen(command, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    elapsed = (time.perf_counter() - start) * 1000
    child.returncode = os.waitstatus_to_exitcode(status)
    if child.returncode != 0:
        sys.exit(f"whole_jobs: {' '.join(map(str, command))} failed with {child.returncode} in {cwd}")
    return elapsed, (usage.ru_utime + usage.ru_stime) * 1000


def import_args(site):
    return ["import", f"{site}.ASC", "--format", "X Y Z", "--border", f"{site}.BDR", "--border-format", "P",
            "--breaklines", f"{site}.BRK", "--breakline-format", "P P"]


def steps(tool):
    """The steps of the jobs, each a name, a command and the files it writes."""
    return [
        ("help", [tool, "--help"], []),
        ("import --triangulate", [tool, *import_args("EX"), "--triangulate", "-o", "JOB.MDL"], ["JOB.MDL"]),
        ("dxf contours 1 ft, labels", [tool, "dxf", "JOB.MDL", "JOB.DXF", "--contours", "1", "--labels"],
         ["JOB.DXF"]),
        ("volume", [tool, "volume", "JOB.MDL", "PR.MDL"], []),
        ("triangulate", [tool, "triangulate", "EX.MDL", "-o", "TRI.MDL"], ["TRI.MDL"]),
        ("info", [tool, "info", "JOB.MDL"], []),
    ]


PIPELINE = ("import --triangulate", "dxf contours 1 ft, labels", "volume")


def prepare(folder, size, site_files, tool):
    folder.mkdir(parents=True, exist_ok=True)
    subprocess.run([site_files, str(size), "1", folder / "EX"], check=True)
    subprocess.run([site_files, str(size), "2", folder / "PR", "--raise", "6"], check=True)
    # The untriangulated site for the triangulate step, and the proposed surface of the volume.
    for site, extra in (("EX", []), ("PR", ["--triangulate"])):
        subprocess.run([tool, *import_args(site), *extra, "-o", f"{site}.MDL"], cwd=folder, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def digest(path):
    return hashlib.sha256(path.read_bytes()).hexdigest()[:16]


def main():
    here = Path(__file__).resolve().parent
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default=str(here.parent / "build"), help="the build folder (default: build)")
    parser.add_argument("--baseline", help="another terravue-cli to run alternately with this build's")
    parser.add_argument("--runs", type=int, default=11)
    parser.add_argument("--sizes", default="1000,8000,32763")
    args = parser.parse_args()

    build = Path(args.build)
    tools = {"this": str(build / "src/cli/terravue-cli")}
    if args.baseline:
        tools["baseline"] = str(Path(args.baseline).resolve())
    site_files = build / "bench/site_files"
    empty = str(build / "bench/empty_program")

    with tempfile.TemporaryDirectory(prefix="terravue-whole-jobs-") as work:
        work = Path(work)
        floor = [run([empty], work) for _ in range(args.runs)]
        print(f"empty C++ program: {statistics.median(w for w, _ in floor):.1f} ms wall, "
              f"{statistics.median(c for _, c in floor):.1f} ms processor\n")
        for size in (int(s) for s in args.sizes.split(",")):
            folders = {name: work / f"{size}-{name}" for name in tools}
            for name, tool in tools.items():
                prepare(folders[name], size, site_files, tool)
            times = {name: {step: [] for step, _, _ in steps(tool)} for name, tool in tools.items()}
            for _ in range(args.runs):
                for index in range(len(steps(tools["this"]))):
                    for name, tool in tools.items():
                        step, command, _ = steps(tool)[index]
                        times[name][step].append(run(command, folders[name]))

            print(f"{size} points, median of {args.runs} runs (ms): wall, processor")
            print(f"  {'step':28}" + "".join(f"{name:>18}" for name in tools) +
                  ("   ratio wall, proc  files" if args.baseline else ""))
            median = lambda runs, k: statistics.median(r[k] for r in runs)
            rows = [(step, {name: (median(times[name][step], 0), median(times[name][step], 1)) for name in tools},
                     files) for step, _, files in steps(tools["this"])]
            rows.append(("pipeline (import+dxf+volume)",
                         {name: tuple(sum(median(times[name][s], k) for s in PIPELINE) for k in (0, 1))
                          for name in tools}, []))
            for step, medians, files in rows:
                line = f"  {step:28}" + "".join(f"{medians[name][0]:10.1f}{medians[name][1]:8.1f}" for name in tools)
                if args.baseline:
                    same = all(digest(folders["this"] / f) == digest(folders["baseline"] / f) for f in files)
                    line += f"{medians['this'][0] / medians['baseline'][0]:10.2f}"
                    line += f"{medians['this'][1] / medians['baseline'][1]:6.2f}  "
                    line += ("same" if same else "DIFFER") if files else ""
                print(line)
            for name in tools:
                written = sorted(f for f in os.listdir(folders[name]) if f in ("JOB.MDL", "JOB.DXF", "TRI.MDL"))
                print(f"  {name}: " + "  ".join(f"{f} {digest(folders[name] / f)}" for f in written))
            print()


if __name__ == "__main__":
    main()
