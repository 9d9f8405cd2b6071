"""Load cases from Python against tavrin-cli: a job with cases built in code reads back from its
file, solves to the same per-set tables, envelope and grid, and every refusal leaves it as it
was."""
import math

import pytest

import tavrin
from test_tavrin import printed, read_csv, square

NODE_FIELDS = ["w", "rot_x", "rot_y", "sigma_x", "sigma_y", "tau_xy", "m_x", "m_y", "m_xy"]
ELEMENT_FIELDS = [("deflection", "deflection"), ("element_sigma_x", "sigma_x"),
                  ("element_m_xy", "m_xy")]


def cased_square():
    """square()'s loads as the case "Dead", a "Live" case, two combinations, one envelope."""
    job = square()
    job.first_case_name = "Dead"
    job.add_case("Live", pressure={0: -0.02}, node_loads={4: (-1000, 0, 0)})
    job.add_combination("ULS", {"Dead": 1.35, "Live": 1.5})
    job.add_combination("SLS", {"Dead": 1.0, "Live": 1.0})
    job.add_envelope("Design", ["ULS", "SLS"])
    return job


def test_case_sets_equal_the_cli_tables(cli, tmp_path):
    built = cased_square()
    path = tmp_path / "cases.sam"
    built.save(str(path))
    job = tavrin.Job.load(str(path))
    assert job.text() == built.text()
    assert job.case_names == ["Dead", "Live"]
    assert job.combinations == {"ULS": [("Dead", 1.35), ("Live", 1.5)],
                                "SLS": [("Dead", 1.0), ("Live", 1.0)]}
    assert job.envelopes == {"Design": ["ULS", "SLS"]}
    assert job.case_loads("Live")["node_loads"] == {4: [-1000.0, 0.0, 0.0]}

    code, out, err = cli("solve", path, "--min-angle", 30, "--max-area", 300, "--out", tmp_path)
    assert code == 0, err
    results = job.mesh(min_angle=30, max_area=300).solve_cases()
    assert results.names == ["Dead", "Live", "ULS", "SLS"] and results.case_count == 2
    for name in results.names:
        s = results[name]
        nodes = read_csv(tmp_path / f"nodes-{name}.csv")
        assert printed(results.mesh_node) == nodes["mesh_node"]
        for field in NODE_FIELDS:
            assert printed(getattr(s, field)) == nodes[field], (name, field)
        for column, values in s.design().items():
            assert printed(values) == nodes[column], (name, column)
        elements = read_csv(tmp_path / f"elements-{name}.csv")
        for field, column in ELEMENT_FIELDS:
            assert printed(getattr(s, field)) == elements[column], (name, field)
        reactions = read_csv(tmp_path / f"reactions-{name}.csv")
        for field in ["mesh_node", "fz", "mx", "my"]:
            assert printed(s.reactions()[field]) == reactions[field], (name, field)
        assert (s.figures is None) == (name in ("ULS", "SLS"))

    envelope = read_csv(tmp_path / "envelope.csv")
    e = results.envelope("Design")
    rows = [i for i, f in enumerate(envelope["field"]) if f == "m_x"]
    assert printed(e["m_x_max"]) == [envelope["max"][i] for i in rows]
    assert [e["combinations"][int(k)] for k in e["m_x_min_from"]] == \
        [envelope["min_combination"][i] for i in rows]
    results.to_vtu(str(tmp_path / "py.vtu"))
    assert (tmp_path / "py.vtu").read_text() == (tmp_path / "model.vtu").read_text()

    # The Live case's own loads, closed form: its pressure over the square and the point load.
    block = out.split("case: Live\n")[1].split("combination: ")[0]
    live = dict(line.split(": ", 1) for line in block.splitlines())
    assert float(live["load-z"]) == results["Live"].load_z
    assert results["Live"].load_z == pytest.approx(-0.02 * 450 * 450 - 1000, rel=1e-12)
    assert results["Live"].reaction_z == pytest.approx(-results["Live"].load_z, rel=1e-9)

    only = job.mesh(min_angle=30, max_area=300).solve_cases(only=["Live"])
    assert only.names == ["Live"] and only.envelope_names == []


def refusals():
    return [
        ("name-taken", lambda j: j.add_case("Dead"), "Dead"),
        ("no-such-node", lambda j: j.add_case("X", node_loads={99: (1, 0, 0)}), "99"),
        ("not-finite", lambda j: j.add_case("X", pressure={0: math.inf}), "not a number"),
        ("unknown-case", lambda j: j.add_combination("C", {"Wind": 1.0}), "Wind"),
        ("unknown-combination", lambda j: j.add_envelope("E", ["Nope"]), "Nope"),
        ("bad-first-name", lambda j: setattr(j, "first_case_name", "a,b"), "comma"),
    ]


@pytest.mark.parametrize("name,change,named", refusals(), ids=[r[0] for r in refusals()])
def test_case_refusals_leave_the_job_unchanged(name, change, named):
    job = cased_square()
    before = job.text()
    with pytest.raises(ValueError, match=named):
        change(job)
    assert job.text() == before


def test_solving_an_unknown_set_is_refused():
    mesh = cased_square().mesh(max_area=2000)
    with pytest.raises(KeyError, match="Wind"):
        mesh.solve_cases(only=["Wind"])
    with pytest.raises(KeyError, match="Wind"):
        mesh.solve_cases()["Wind"]
