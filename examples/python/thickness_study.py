#!/usr/bin/env python3
"""Thickness study: how the example plate's largest deflection falls as it gets thicker.

Meshes and solves examples/plate-with-hole.sam (or the job given) for a range of thicknesses,
prints a table, and saves a plot of max deflection against thickness when matplotlib is
installed.

    PYTHONPATH=build/python python3 examples/python/thickness_study.py [JOB.sam] [--plot FILE]
"""
import argparse
from pathlib import Path

import tavrin

HERE = Path(__file__).resolve().parent


def study(job, thicknesses):
    """Rows of (thickness, max deflection, largest |m_x|, error estimate)."""
    rows = []
    for t in thicknesses:
        variant = job.copy()
        for p in range(variant.polygon_count):
            if not variant.physics(p)["hole"]:
                variant.set_physics(p, thickness=t)
        results = variant.mesh(min_angle=31, max_area=200).solve()
        rows.append((t, results.max_deflection, abs(results.m_x).max(), results.error_estimate))
    return rows


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("job", nargs="?", default=str(HERE.parent / "plate-with-hole.sam"))
    parser.add_argument("--plot", default="thickness_study.png", help="picture to save")
    args = parser.parse_args()

    rows = study(tavrin.Job.load(args.job), [4, 6, 8, 10, 12, 16, 20])
    print(f"{'thickness':>10} {'max deflection':>16} {'max |m_x|':>12} {'error':>8}")
    for t, w, m, e in rows:
        print(f"{t:>10g} {w:>16.6g} {m:>12.6g} {e:>8.4f}")

    try:
        import matplotlib
        matplotlib.use("Agg")
        import matplotlib.pyplot as plt
    except ImportError:
        print("matplotlib is not installed: no plot (python3-matplotlib draws one)")
        return
    fig, ax = plt.subplots()
    ax.plot([r[0] for r in rows], [abs(r[1]) for r in rows], marker="o")
    ax.set_xlabel("thickness")
    ax.set_ylabel("max |deflection|")
    ax.set_yscale("log")
    ax.set_title(Path(args.job).name)
    fig.savefig(args.plot)
    print(f"plot saved: {args.plot}")


if __name__ == "__main__":
    main()
