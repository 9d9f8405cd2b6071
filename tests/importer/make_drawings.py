"""Writes the DXF drawings the importer tests read, with ezdxf as an independent writer.

Usage: make_drawings.py OUTDIR. Each drawing is small and states what it holds; the tests
know the expected plates from the numbers here.
"""
import sys
from pathlib import Path

import ezdxf


def new(units=None):
    doc = ezdxf.new("R2010")
    if units is not None:
        doc.header["$INSUNITS"] = units
    return doc, doc.modelspace()


def rectangle(msp, x0, y0, x1, y1, layer):
    msp.add_lwpolyline([(x0, y0), (x1, y0), (x1, y1), (x0, y1)], close=True,
                       dxfattribs={"layer": layer})


def slab():
    """An 800 x 600 slab in centimetres: circular and rectangular openings, four columns,
    and a note on a layer of its own."""
    doc, msp = new(units=5)
    rectangle(msp, 0, 0, 800, 600, "SLAB")
    msp.add_circle((200, 300), 40, dxfattribs={"layer": "OPENINGS"})
    corners = [(500, 200), (650, 200), (650, 350), (500, 350)]
    for a, b in zip(corners, corners[1:] + corners[:1]):
        msp.add_line(a, b, dxfattribs={"layer": "OPENINGS"})
    for p in [(100, 100), (700, 100), (700, 500), (100, 500)]:
        msp.add_point(p, dxfattribs={"layer": "COLUMNS"})
    msp.add_text("Slab S1", dxfattribs={"layer": "NOTES"})
    return doc


def bulges():
    """100 x 50 with a half circle of radius 25 bulging out on the right, as a closed
    LWPOLYLINE, and a hole whose lower side bulges into it by a quarter circle."""
    doc, msp = new()
    msp.add_lwpolyline([(0, 0, 0, 0, 0), (100, 0, 0, 0, 1), (100, 50, 0, 0, 0), (0, 50, 0, 0, 0)],
                       format="xyseb", close=True)
    # tan(90 deg / 4): a quarter circle, clockwise, bulging up into the hole from (20, 10)
    msp.add_lwpolyline([(20, 10, 0, 0, -0.41421356237309503), (40, 10, 0, 0, 0),
                        (40, 30, 0, 0, 0), (20, 30, 0, 0, 0)], format="xyseb", close=True)
    return doc


def polyline2d():
    """An old-style closed POLYLINE square 60 x 60 with a POLYLINE triangle hole."""
    doc, msp = new()
    msp.add_polyline2d([(0, 0), (60, 0), (60, 60), (0, 60)], close=True)
    msp.add_polyline2d([(10, 10), (30, 10), (10, 30)], close=True)
    return doc


def chain():
    """A chain of LINE and ARC out of order and reversed, with a gap far below the join
    tolerance: 100 x 60 with a half circle of radius 30 on the right."""
    doc, msp = new()
    msp.add_line((100, 60), (0, 60))
    msp.add_line((0, 0), (100, 0))
    msp.add_arc((100, 30), 30, -90, 90)
    msp.add_line((0, 0), (0, 60 + 1e-9))
    return doc


def mirrored():
    """An arc seen from below (extrusion 0, 0, -1) closing a chain, then a circle seen from
    above: 100 x 100 with a half circle of radius 50 on the right, a hole of radius 10."""
    doc, msp = new()
    msp.add_line((0, 0), (100, 0))
    msp.add_line((100, 100), (0, 100))
    msp.add_line((0, 100), (0, 0))
    msp.add_arc((-100, 50), 50, 90, 270, dxfattribs={"extrusion": (0, 0, -1)})
    msp.add_circle((30, 50), 10)
    return doc


def circle_plate():
    """A circular plate of radius 50 with a column at its centre."""
    doc, msp = new(units=0)
    msp.add_circle((0, 0), 50)
    msp.add_point((0, 0))
    return doc


def long_arcs():
    """A circle of radius 50 drawn as a closed LWPOLYLINE of two half-circle bulges, holding a
    hole of three quarters of a circle of radius 10 about (20, 0): an ARC of 270 degrees closed
    by two LINEs through its centre."""
    doc, msp = new()
    msp.add_lwpolyline([(50, 0, 0, 0, 1), (-50, 0, 0, 0, 1)], format="xyseb", close=True)
    msp.add_arc((20, 0), 10, 0, 270)
    msp.add_line((20, -10), (20, 0))
    msp.add_line((20, 0), (30, 0))
    return doc


def two_plates():
    """Two separate plates on layers A and B."""
    doc, msp = new()
    rectangle(msp, 0, 0, 10, 10, "A")
    rectangle(msp, 20, 0, 30, 10, "B")
    return doc


def island():
    """A loop inside a hole."""
    doc, msp = new()
    rectangle(msp, 0, 0, 100, 100, "0")
    rectangle(msp, 20, 20, 80, 80, "0")
    rectangle(msp, 40, 40, 60, 60, "0")
    return doc


def open_chain():
    """Three sides of a square."""
    doc, msp = new()
    msp.add_line((0, 0), (10, 0))
    msp.add_line((10, 0), (10, 10))
    msp.add_line((10, 10), (0, 10))
    return doc


def branch():
    """A square with a diagonal: three ends meet at two corners."""
    doc, msp = new()
    for a, b in [((0, 0), (10, 0)), ((10, 0), (10, 10)), ((10, 10), (0, 10)), ((0, 10), (0, 0)),
                 ((0, 0), (10, 10))]:
        msp.add_line(a, b)
    return doc


def crossing():
    """A plate and a hole that reaches out through its edge."""
    doc, msp = new()
    rectangle(msp, 0, 0, 10, 10, "0")
    rectangle(msp, 5, 2, 15, 8, "0")
    return doc


def unsupported():
    """A plate with two texts and a spline on its layer."""
    doc, msp = new()
    rectangle(msp, 0, 0, 10, 10, "0")
    msp.add_text("a")
    msp.add_text("b")
    msp.add_spline([(1, 1), (2, 3), (4, 2), (5, 5)])
    return doc


def empty():
    doc, _ = new()
    doc.layers.add("EMPTY")
    return doc


def column_outside():
    """A column outside the plate: the geometry check refuses it."""
    doc, msp = new()
    rectangle(msp, 0, 0, 10, 10, "0")
    msp.add_point((20, 5))
    return doc


DRAWINGS = [slab, bulges, polyline2d, chain, mirrored, circle_plate, long_arcs, two_plates,
            island, open_chain, branch, crossing, unsupported, empty, column_outside]

if __name__ == "__main__":
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    for make in DRAWINGS:
        make().saveas(out / (make.__name__.replace("_", "-") + ".dxf"))
