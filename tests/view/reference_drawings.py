#!/usr/bin/python3
"""Writes the drawings of the reference-extents test with an independent DXF library and,
beside each NAME.dxf, NAME.ref with that library's view of it:
  bbox MINX MINY MAXX MAXY   extents of the model space as the library computes them
  point X Y                  (optional, in order) the points the parser must place the
                             outline of the drawing's first entity at, computed by the
                             library at the parameters the parser samples.
Usage: reference_drawings.py OUTDIR"""
import math
import sys

import ezdxf
from ezdxf import bbox
from ezdxf.math import BoundingBox, BSpline, closed_uniform_bspline, rational_bspline_from_arc

OUT = sys.argv[1]
MIRRORED = (0, 0, -1)


def write(name, doc, points=(), box=None):
    """`box`: the extents when the library's own are not to be trusted (it measures a
    periodic spline outside its knot domain)."""
    doc.saveas(f"{OUT}/{name}.dxf")
    box = box or bbox.extents(doc.modelspace())
    with open(f"{OUT}/{name}.ref", "w") as f:
        f.write("bbox %.17g %.17g %.17g %.17g\n" % (box.extmin.x, box.extmin.y, box.extmax.x, box.extmax.y))
        for p in points:
            f.write("point %.17g %.17g\n" % (p.x, p.y))


def arc_angles(start, end):
    """The angles of the parser's 101 outline points of an arc, in degrees."""
    if end <= start:
        end += 360
    return [start + (end - start) * k / 100 for k in range(101)]


def spline_points(curve: BSpline):
    """The curve at the parser's 100 parameters: from the start of the knot domain in equal
    steps added up, the last one the end of the domain."""
    knots, order = curve.knots(), curve.order
    n = curve.count - 1
    start, end = knots[order - 1], knots[n + 1]
    step = (end - start) / 99
    out, v = [], start
    for _ in range(99):
        out.append(curve.point(v))
        v = v + step
    out.append(curve.point(end))
    return out


def polyline_r2000():
    doc = ezdxf.new("R2000")
    doc.layers.add("Kontur")
    doc.modelspace().add_polyline2d([(0, 0), (30, 0), (30, 20), (0, 20)], close=True,
                                    dxfattribs={"layer": "Kontur", "color": 3})
    write("polyline_r2000", doc)


def splines():
    doc = ezdxf.new("R2000")
    arc = rational_bspline_from_arc(center=(10, 5), radius=7, start_angle=10, end_angle=300)
    s = doc.modelspace().add_rational_spline(arc.control_points, arc.weights(), arc.degree, arc.knots())
    write("spline_rational_arc", doc, spline_points(s.construction_tool()))

    doc = ezdxf.new("R2000")
    cp = [(0, 0), (10, 10), (20, -5), (30, 8), (40, 0), (50, 12)]
    s = doc.modelspace().add_open_spline(cp, degree=3, knots=[0, 0, 0, 0, 0.1, 0.15, 1, 1, 1, 1])
    write("spline_nonuniform", doc, spline_points(s.construction_tool()))

    doc = ezdxf.new("R2000")
    s = doc.modelspace().add_spline()
    s.apply_construction_tool(closed_uniform_bspline([(0, 0), (20, 0), (25, 15), (5, 20), (-5, 8)], order=4))
    points = spline_points(s.construction_tool())
    write("spline_periodic", doc, points, BoundingBox(points))


def associative_hatch():
    doc = ezdxf.new("R2000")
    off = doc.layers.add("Rand")
    off.off()  # the boundary object itself is not drawn: what shows is the hatch
    msp = doc.modelspace()
    points = [(2, 1), (12, 1), (12, 9), (2, 9)]
    boundary = msp.add_lwpolyline(points, close=True, dxfattribs={"layer": "Rand"})
    hatch = msp.add_hatch(color=5)
    path = hatch.paths.add_polyline_path(points, is_closed=True)
    hatch.associate(path, [boundary])
    write("hatch_associative", doc)


def mirrored():
    doc = ezdxf.new("R2000")
    a = doc.modelspace().add_arc((5, 3), 4, 20, 110, dxfattribs={"extrusion": MIRRORED})
    write("arc_mirrored", doc, a.vertices(arc_angles(20, 110)))

    doc = ezdxf.new("R2000")
    c = doc.modelspace().add_circle((1, 2, 3), 5, dxfattribs={"extrusion": (0, 0.6, 0.8)})
    write("circle_tilted", doc, c.vertices(arc_angles(0, 360)))

    doc = ezdxf.new("R2000")
    doc.modelspace().add_lwpolyline([(0, 0, 0, 0, 1), (10, 0, 0, 0, -0.5), (10, 6, 0, 0, 0), (0, 6)],
                                    close=True, dxfattribs={"extrusion": MIRRORED, "elevation": 2})
    write("lwpolyline_mirrored", doc)

    doc = ezdxf.new("R2000")
    doc.modelspace().add_polyline2d([(3, 0, 0.4), (9, 0, 0), (9, 4, 0), (3, 4, 0)], format="xyb",
                                    close=True, dxfattribs={"extrusion": MIRRORED})
    write("polyline2d_mirrored", doc)

    doc = ezdxf.new("R2000")
    doc.modelspace().add_solid([(1, 1), (6, 1), (1, 4), (7, 5)], dxfattribs={"extrusion": MIRRORED})
    write("solid_mirrored", doc)

    doc = ezdxf.new("R2000")
    hatch = doc.modelspace().add_hatch(color=1, dxfattribs={"extrusion": MIRRORED})
    hatch.paths.add_polyline_path([(4, 0, 1), (14, 0, 0), (14, 5, 0), (4, 5, 0)], is_closed=True)
    write("hatch_mirrored", doc)


def curved_hatch_edges():
    doc = ezdxf.new("R2000")
    hatch = doc.modelspace().add_hatch(color=2)
    hatch.paths.add_edge_path().add_arc((20, 10), 6)  # a round hole's plate: one full circle
    write("hatch_circle", doc)

    doc = ezdxf.new("R2000")
    hatch = doc.modelspace().add_hatch(color=2)
    e = hatch.paths.add_edge_path()
    e.add_line((0, 0), (10, 0))
    e.add_arc((10, 5), 5, -90, 90)                                  # counter-clockwise
    e.add_ellipse((5, 10), (5, 0), 0.4, 0, 180)                     # upper half ellipse
    e.add_spline(control_points=[(0, 10), (-6, 8), (-4, 2), (0, 0)],
                 knot_values=[0, 0, 0, 0, 1, 1, 1, 1], degree=3)
    write("hatch_edges", doc)

    doc = ezdxf.new("R2000")
    hatch = doc.modelspace().add_hatch(color=2)
    e = hatch.paths.add_edge_path()
    e.add_line((0, 0), (0, 8))
    e.add_arc((4, 8), 4, 0, 180, ccw=False)                          # clockwise, over the top
    e.add_line((8, 8), (8, 0))
    e.add_line((8, 0), (0, 0))
    write("hatch_clockwise_arc", doc)


polyline_r2000()
splines()
associative_hatch()
mirrored()
curved_hatch_edges()
