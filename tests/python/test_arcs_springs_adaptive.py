"""Arcs, springs, foundations and the adaptive solve from Python: jobs built in code equal the
example job files, refusals carry tavrin-cli's reasons and change nothing, a plate on a
foundation settles by the closed form, and the adaptive cycles equal tavrin-cli's."""
import math

import numpy as np
import pytest

import tavrin
from conftest import SOURCE
from test_tavrin import printed, read_csv

QUARTER = math.tan(math.pi / 8)  # the bulge of a quarter circle


def circular_hole():
    job = tavrin.Job()
    p = job.add_polygon([(0, 0), (450, 0), (450, 450), (0, 450)])
    h = job.add_polygon([(300, 225), (225, 300), (150, 225), (225, 150)], bulges=[QUARTER] * 4)
    job.set_physics(p, pressure=-0.005, e_modulus=210000, nu=0.3, thickness=8)
    job.set_physics(h, pressure=0, e_modulus=210000, nu=0.25, thickness=10)
    job.support_edge(0, 0, 0, 0)
    job.support_edge(2)
    job.load_edge(1, fz=-2)
    return job


def raft():
    job = tavrin.Job()
    p = job.add_polygon([(0, 0), (450, 0), (450, 450), (0, 450)])
    centre = job.add_node(225, 225)
    job.set_physics(p, pressure=-0.001, e_modulus=210000, nu=0.3, thickness=10)
    job.load_node(centre, fz=-5000)
    job.spring_node(2, w=200)
    job.spring_edge(3, w=5)
    job.set_foundation(p, 0.05)
    return job


@pytest.mark.parametrize("example,build", [("plate-with-circular-hole.sam", circular_hole),
                                           ("raft-on-foundation.sam", raft)])
def test_a_job_built_in_code_is_the_job_file(example, build):
    built = build()
    assert built.text() == tavrin.Job.load(str(SOURCE / "examples" / example)).text()


# Each refusal: the call, what the message names, and the job file line that tavrin-cli refuses
# for the same reason (None where no line can say it).
REFUSALS = [
    ("negative-spring", lambda j: j.spring_node(2, w=-1), "KN, 2, -1, 0, 0"),
    ("spring-on-held", lambda j: j.spring_edge(0, w=5), "KE, 0, 5, 0, 0"),
    ("held-on-spring", lambda j: j.support_node(2, w=0), None),
    ("negative-foundation", lambda j: j.set_foundation(0, -0.5), "KP, 0, -0.5"),
    ("nan-spring", lambda j: j.spring_node(1, rot_x=math.nan), None),
    ("no-such-edge", lambda j: j.set_arc(99, 0.5), None),
    ("infinite-bulge", lambda j: j.set_arc(0, math.inf), None),
]


@pytest.mark.parametrize("name,change,line", REFUSALS, ids=[r[0] for r in REFUSALS])
def test_refused_settings_change_nothing_and_say_what_the_cli_says(name, change, line, cli,
                                                                   tmp_path):
    job = raft()
    job.support_edge(0)
    before = job.text()
    with pytest.raises((ValueError, IndexError)) as caught:
        change(job)
    assert job.text() == before
    if line is None:
        return
    path = tmp_path / "bad.sam"
    path.write_text(before + line + "\n")
    code, _, err = cli("solve", path)
    reason = str(caught.value).split(": ", 1)[1]
    assert code == 1 and err.strip().endswith(f": {reason}"), (err, reason)
    with pytest.raises(tavrin.JobFileError, match=reason):
        tavrin.Job.load(str(path))


def test_an_arc_of_more_than_a_half_turn_is_refused_as_the_cli_refuses_it(cli, tmp_path):
    job = circular_hole()
    job.set_arc(4, 1.5)
    path = tmp_path / "long-arc.sam"
    job.save(str(path))
    code, _, err = cli("solve", path)
    with pytest.raises(tavrin.GeometryError) as caught:
        job.mesh()
    assert code == 1 and err.strip() == f"tavrin-cli solve: {caught.value}"
    assert "Edge 4" in str(caught.value)


def test_a_free_circle_on_a_foundation_settles_uniformly():
    # A circular plate of four arc edges, free, on a foundation k under pressure q: w = q / k
    # everywhere, the foundation carries the whole load, no bending.
    q, k, r = -0.002, 0.05, 100.0
    job = tavrin.Job()
    p = job.add_polygon([(r, 0), (0, r), (-r, 0), (0, -r)], bulges=[QUARTER] * 4)
    job.set_physics(p, pressure=q, e_modulus=30000, nu=0.2, thickness=20)
    job.set_foundation(p, k)
    assert job.physics(p)["foundation"] == k and job.bulge(0) == QUARTER
    mesh = job.mesh(max_area=200)
    results = mesh.solve()
    radii = np.hypot(mesh.nodes[:, 0], mesh.nodes[:, 1])
    assert np.isclose(radii, r, rtol=1e-12).sum() > 16  # boundary nodes on the circle
    assert results.w == pytest.approx(np.full(len(results.w), q / k), rel=1e-9)
    assert results.foundation_pressure == pytest.approx(np.full(len(results.w), q), rel=1e-9)
    assert results.foundation_z == pytest.approx(-results.load_z, rel=1e-9)
    assert results.load_z == pytest.approx(q * mesh.area, rel=1e-12)
    assert np.abs(results.m_x).max() < 1e-9 * abs(q) * r**2
    assert results.spring_z == 0 and len(results.spring_forces()["fz"]) == 0


def test_adaptive_cycles_equal_the_cli(cli, tmp_path):
    example = SOURCE / "examples" / "l-shaped.sam"
    code, out, err = cli("solve", example, "--min-angle", 30, "--max-area", 300, "--adapt", 0.05,
                         "--max-cycles", 4, "--out", tmp_path)
    assert code == 0, err
    stages = []
    run = tavrin.Job.load(str(example)).solve_adaptive(
        0.05, max_cycles=4, min_angle=30, max_area=300,
        progress=lambda stage, done, total: stages.append(stage))
    table = read_csv(tmp_path / "adapt.csv")
    assert printed(run.cycles["elements"]) == table["elements"]
    assert printed(run.cycles["estimate"]) == table["estimate"]
    assert f"adapt: {run.end}" in out.splitlines()
    assert printed(run.results.w) == read_csv(tmp_path / "nodes.csv")["w"]
    assert run.mesh.element_count == run.cycles["elements"][-1]
    assert len(run.case_results.names) == 1  # a job without load cases: one set
    assert stages.count("Adaptive cycle") == len(run.cycles["elements"])


def test_adaptive_cancel_keeps_the_last_finished_cycle():
    job = tavrin.Job.load(str(SOURCE / "examples" / "l-shaped.sam"))
    run = job.solve_adaptive(0.001, progress=lambda stage, *_: stage != "Adaptive cycle")
    assert run.end == "stopped" and len(run.cycles["elements"]) == 1
    assert run.results.error_estimate == run.cycles["estimate"][0]
    meshing = ("Initial triangulation", "Delaunay refinement", "Finishing refinement")
    with pytest.raises(tavrin.Cancelled):  # within the first solve: no cycle to keep
        job.solve_adaptive(0.001, progress=lambda stage, *_: stage in meshing)
    with pytest.raises(ValueError, match="between 0 and 1"):
        job.solve_adaptive(1.5)


def test_solve_cases_reports_progress_and_cancels():
    mesh = tavrin.Job.load(str(SOURCE / "examples" / "square.sam")).mesh()
    stages = []
    mesh.solve_cases(progress=lambda stage, done, total: stages.append(stage))
    assert len(stages) > 2
    with pytest.raises(tavrin.Cancelled):
        mesh.solve_cases(progress=lambda *_: False)


def test_steel_at_right_angles_swaps_the_wood_armer_layers():
    # Turned by 90 degrees the first layer runs along y: the x and y columns change places
    # (to 1e-9 of the largest, the rotation's rounding); the record is written only then.
    plain, turned = circular_hole(), circular_hole()
    for p in (0, 1):
        turned.set_reinforcement_angle(p, 90)
    assert turned.reinforcement_angle(1) == 90 and plain.reinforcement_angle(1) == 0
    assert "\nRA, 1, 90\n" in turned.text() and "\nRA, " not in plain.text()
    a, b = (j.mesh(max_area=500).solve_cases() for j in (plain, turned))
    a, b = a[a.names[0]].design(), b[b.names[0]].design()
    scale = max(np.abs(a[c]).max() for c in ("wa_x_bottom", "wa_y_bottom", "wa_x_top"))
    assert scale > 0
    for face in ("bottom", "top"):
        assert b[f"wa_x_{face}"] == pytest.approx(a[f"wa_y_{face}"], abs=1e-9 * scale)
        assert b[f"wa_y_{face}"] == pytest.approx(a[f"wa_x_{face}"], abs=1e-9 * scale)
    assert b["m_1"] == pytest.approx(a["m_1"], abs=1e-12 * scale)
