#!/usr/bin/env python3
"""What meshing and solving cost from Python against tavrin-cli, on the same job and bounds.

    PYTHONPATH=BUILD/python python3 bench/python_vs_cli.py BUILD/app/tavrin-cli [--repeat N]

tavrin-cli's time is its whole run (start, reading the job, printing); Python's is job.mesh()
plus mesh.solve() in a running interpreter, and the same with the job read too. Each case runs
--repeat times and the fastest run counts (the machine is shared). Also prints the processor
time of the children against the interpreter's own: on a shared machine the steadier figure.
Set OPENBLAS_NUM_THREADS=1 for both to count the same work.
"""
import argparse
import resource
import subprocess
import time
from pathlib import Path

import tavrin

SOURCE = Path(__file__).resolve().parents[1]
CASES = [("plate-with-hole.sam", 20.0), ("plate-with-hole.sam", 2.0), ("l-shaped.sam", 2.0)]


def children_cpu():
    r = resource.getrusage(resource.RUSAGE_CHILDREN)
    return r.ru_utime + r.ru_stime


def self_cpu():
    r = resource.getrusage(resource.RUSAGE_SELF)
    return r.ru_utime + r.ru_stime


def best(run, repeat):
    walls, cpus = [], []
    for _ in range(repeat):
        c0, s0, t0 = children_cpu(), self_cpu(), time.perf_counter()
        run()
        walls.append(time.perf_counter() - t0)
        cpus.append(children_cpu() - c0 + self_cpu() - s0)
    return min(walls), min(cpus)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("cli")
    parser.add_argument("--repeat", type=int, default=5)
    args = parser.parse_args()
    print(f"{'job':<22} {'max_area':>8} {'nodes':>7} {'cli_s':>8} {'py_s':>8} {'py+load_s':>9} "
          f"{'ratio':>6} {'cli_cpu':>8} {'py_cpu':>8}")
    for name, area in CASES:
        path = str(SOURCE / "examples" / name)
        job = tavrin.Job.load(path)
        nodes = job.mesh(max_area=area).node_count
        cli = best(lambda: subprocess.run([args.cli, "solve", path, "--max-area", str(area)],
                                          check=True, stdout=subprocess.DEVNULL), args.repeat)
        py = best(lambda: job.mesh(max_area=area).solve(), args.repeat)
        loaded = best(lambda: tavrin.Job.load(path).mesh(max_area=area).solve(), args.repeat)
        print(f"{name:<22} {area:>8g} {nodes:>7} {cli[0]:>8.3f} {py[0]:>8.3f} {loaded[0]:>9.3f} "
              f"{loaded[0] / cli[0]:>6.3f} {cli[1]:>8.3f} {loaded[1]:>8.3f}")


if __name__ == "__main__":
    main()
