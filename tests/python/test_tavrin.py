"""The Python module against tavrin-cli: the same arrays to the printed precision, the same
refusals with the same messages, cancellation that leaves the job as it was, the study script."""
import csv
import math
import os
import shutil
import subprocess
import sys

import numpy as np
import pytest

import tavrin
from conftest import SOURCE

# The plain examples: a job with load cases prints a block and writes tables per case instead.
EXAMPLES = sorted(p for p in (SOURCE / "examples").glob("*.sam")
                  if not any(line.startswith("LC") for line in p.read_text().splitlines()))


def read_csv(path, keep=lambda row: True):
    with open(path) as f:
        rows = [row for row in csv.DictReader(f) if keep(row)]
    return {k: [r[k] for r in rows] for k in rows[0]} if rows else {}


def printed(values):
    """The values as tavrin-cli prints them (%.10g)."""
    return ["%.10g" % v for v in values]


@pytest.mark.parametrize("example", EXAMPLES, ids=lambda p: p.name)
def test_arrays_equal_the_cli_tables(example, cli, tmp_path):
    code, out, err = cli("solve", example, "--min-angle", 30, "--max-area", 300, "--out", tmp_path)
    assert code == 0, err
    mesh = tavrin.Job.load(str(example)).mesh(min_angle=30, max_area=300)
    results = mesh.solve()

    nodes = read_csv(tmp_path / "nodes.csv")
    assert printed(results.mesh_node) == nodes["mesh_node"]
    assert printed(mesh.nodes[results.mesh_node.astype(int), 0]) == nodes["x"]
    for field in ["x", "y", "w", "rot_x", "rot_y", "sigma_x", "sigma_y", "tau_xy", "m_x", "m_y",
                  "m_xy"]:
        assert printed(getattr(results, field)) == nodes[field], field
    elements = read_csv(tmp_path / "elements.csv")
    for k, column in enumerate(["n0", "n1", "n2"]):
        assert printed(results.corners[:, k]) == elements[column]
    for field, column in [("element_x", "x"), ("element_y", "y"), ("deflection", "deflection"),
                          ("element_sigma_x", "sigma_x"), ("element_m_xy", "m_xy"),
                          ("error", "error")]:
        assert printed(getattr(results, field)) == elements[column], field
    # reactions.csv lists the rigid reactions and, where springs exist, the spring forces.
    for kind, rows in [("rigid", results.reactions()), ("spring", results.spring_forces())]:
        table = read_csv(tmp_path / "reactions.csv", keep=lambda row: row.get("kind", "rigid") == kind)
        for field in ["mesh_node", "fz", "mx", "my"]:
            assert printed(rows[field]) == table.get(field, []), (kind, field)
    if "foundation_pressure" in nodes:
        assert printed(results.foundation_pressure) == nodes["foundation_pressure"]
    else:
        assert results.foundation_pressure is None
    figures = dict(line.split(": ", 1) for line in out.splitlines())
    assert float(figures.get("spring-z", 0)) == results.spring_z
    assert float(figures.get("foundation-z", 0)) == results.foundation_z
    assert float(figures["load-z"]) == results.load_z
    assert float(figures["reaction-z"]) == results.reaction_z
    assert float(figures["max-deflection"].split()[0]) == results.max_deflection
    assert int(figures["nodes"]) == mesh.node_count and figures["usable"] == "yes"

    results.to_vtu(str(tmp_path / "py.vtu"))
    assert (tmp_path / "py.vtu").read_text() == (tmp_path / "model.vtu").read_text()


def square(q=-0.01, t=10.0):
    """The 450 x 450 square of examples/square.sam, simply supported, built in code."""
    job = tavrin.Job()
    p = job.add_polygon([(0, 0), (450, 0), (450, 450), (0, 450)])
    job.set_physics(p, pressure=q, e_modulus=210000, nu=0.3, thickness=t)
    for e in job.polygon_edges(p):
        job.support_edge(e, w=0.0)
    centre = job.add_node(225, 225)
    job.load_node(centre, fz=-500)
    return job


def test_a_job_built_in_code_is_the_job_file(tmp_path):
    built = square()
    built.save(str(tmp_path / "built.sam"))
    loaded = tavrin.Job.load(str(SOURCE / "examples" / "square.sam"))
    assert tavrin.Job.load(str(tmp_path / "built.sam")).text() == built.text()
    assert np.array_equal(built.nodes, loaded.nodes)
    assert np.array_equal(built.edges, loaded.edges)
    a, b = (j.mesh(max_area=500).solve() for j in (built, loaded))
    assert np.array_equal(a.w, b.w)
    assert a.reaction_z == pytest.approx(-a.load_z, rel=1e-9)  # equilibrium
    assert a.load_z == pytest.approx(-0.01 * 450 * 450 - 500, rel=1e-12)


def bad_jobs():
    outside = square()
    outside.add_node(900, 10)
    unusable = (square(), dict(min_angle=35, max_nodes=30))
    unsupported = tavrin.Job()
    unsupported.add_polygon([(0, 0), (100, 0), (100, 100), (0, 100)])
    return [
        ("no-outline", tavrin.Job(), {}, tavrin.GeometryError),
        ("node-outside", outside, {}, tavrin.GeometryError),
        ("unusable", unusable[0], unusable[1], tavrin.MeshError),
        ("not-held", unsupported, {}, tavrin.SolveError),
    ]


BAD_JOBS = bad_jobs()


@pytest.mark.parametrize("name,job,options,error", BAD_JOBS, ids=[c[0] for c in BAD_JOBS])
def test_refusals_carry_the_cli_message(name, job, options, error, cli, tmp_path):
    before = job.text()
    path = tmp_path / f"{name}.sam"
    job.save(str(path))
    args = [a for k, v in options.items() for a in (f"--{k.replace('_', '-')}", v)]
    code, _, err = cli("solve", path, *args)
    assert code == 1
    with pytest.raises(error) as caught:
        job.mesh(**options).solve()
    assert isinstance(caught.value, tavrin.Error)
    assert err.strip() == f"tavrin-cli solve: {caught.value}"
    assert job.text() == before  # nothing changed


def test_dxf_import_matches_the_cli(drawings, cli, tmp_path):
    slab = drawings / "slab.dxf"
    layers = ["SLAB", "OPENINGS", "COLUMNS"]
    code, _, err = cli("import-dxf", slab, tmp_path / "cli.sam",
                       *[a for layer in layers for a in ("--layer", layer)])
    assert code == 0, err
    job = tavrin.import_dxf(str(slab), layers)
    assert job.text() == tavrin.Job.load(str(tmp_path / "cli.sam")).text()
    job.set_physics(0, pressure=-0.001, thickness=20)
    for e in job.polygon_edges(0):
        job.support_edge(e)
    mesh = job.mesh(min_angle=30, max_area=400)
    results = mesh.solve()
    # The circular opening is four quarter arcs: the mesh leaves out the polygon of its boundary
    # nodes on the circle, a little less than the circle.
    hole = math.pi * 40**2
    net = 480000 - hole - 22500
    assert net < mesh.area < net + 0.05 * hole
    assert results.load_z == pytest.approx(-0.001 * mesh.area, rel=1e-9)

    for drawing, error in [("open-chain.dxf", tavrin.DxfError), ("island.dxf", tavrin.DxfError),
                           ("column-outside.dxf", tavrin.GeometryError)]:
        code, _, err = cli("import-dxf", drawings / drawing, tmp_path / "x.sam")
        with pytest.raises(error) as caught:
            tavrin.import_dxf(str(drawings / drawing))
        assert code == 1 and err.strip() == f"tavrin-cli import-dxf: {caught.value}"
        assert not (tmp_path / "x.sam").exists()


def test_progress_reports_and_cancels():
    job = tavrin.Job.load(str(SOURCE / "examples" / "plate-with-hole.sam"))
    before = job.text()
    stages = []
    mesh = job.mesh(progress=lambda stage, done, total: stages.append(stage))
    mesh.solve(progress=lambda stage, done, total: stages.append(stage))
    assert "Initial triangulation" in stages and len(stages) > 3

    calls = []
    with pytest.raises(tavrin.Cancelled):
        mesh.solve(progress=lambda *a: calls.append(a) or False)
    assert len(calls) == 1  # nothing reported after the cancel

    def fails(*_):
        raise KeyError("from the callback")

    with pytest.raises(KeyError, match="from the callback"):
        job.mesh(progress=fails)
    assert job.text() == before
    assert "min_angle" in tavrin.Job.mesh.__doc__ and "recovery" in tavrin.Mesh.solve.__doc__


def test_study_script_runs_and_deflection_scales_with_thickness_cubed(tmp_path):
    env = dict(os.environ, PYTHONPATH=os.path.dirname(tavrin.__file__))
    script = SOURCE / "examples" / "python" / "thickness_study.py"
    r = subprocess.run([sys.executable, str(script), "--plot", str(tmp_path / "w.png")],
                       capture_output=True, text=True, env=env, cwd=tmp_path)
    assert r.returncode == 0, r.stderr
    rows = [line.split() for line in r.stdout.splitlines()[1:] if line.split()[0][0].isdigit()]
    assert len(rows) == 7
    # Bending stiffness grows with t^3 and nothing else changes: w t^3 is one number.
    wt3 = [float(w) * float(t) ** 3 for t, w, *_ in rows]
    assert max(wt3) == pytest.approx(min(wt3), rel=1e-5)  # 6 printed digits
    assert ("plot saved" in r.stdout) or ("matplotlib is not installed" in r.stdout)


def test_cmake_install_puts_an_importable_module_under_the_prefix(tmp_path):
    build = os.path.dirname(os.path.dirname(tavrin.__file__))
    cmake = shutil.which("cmake")
    if cmake is None or not os.path.exists(os.path.join(build, "cmake_install.cmake")):
        pytest.skip("no cmake, or the module is not in a CMake build tree")
    r = subprocess.run([cmake, "--install", build, "--prefix", str(tmp_path)],
                       capture_output=True, text=True)
    assert r.returncode == 0, r.stderr
    found = list(tmp_path.glob("lib/python3*/dist-packages/tavrin*.so"))
    assert len(found) == 1
    if sys.prefix == "/usr":  # Debian's python3: the default prefix is on its path
        below = found[0].parent.relative_to(tmp_path)
        assert str("/usr/local" / below) in sys.path
    env = dict(os.environ, PYTHONPATH=str(found[0].parent))
    r = subprocess.run([sys.executable, "-c", "import tavrin; print(tavrin.__file__)"],
                       capture_output=True, text=True, env=env, cwd=tmp_path)
    assert r.returncode == 0, r.stderr
    assert r.stdout.strip() == str(found[0])
