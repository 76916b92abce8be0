#!/usr/bin/python3
"""Joined drawings read back by an independent DXF reader (ezdxf).

Each case draws a small drawing with ezdxf, joins it with `kerbon-cli join`, and reads the
target back: it must load without structure errors, audit clean, and hold the same geometry
(every segment of every line, arc and polyline, in world coordinates, on its layer and in
its space) as the source. Usage: join_roundtrip.py KERBON_CLI
"""
import json
import math
import os
import random
import subprocess
import sys
import tempfile

import ezdxf
from ezdxf import path as ezpath

CLI = sys.argv[1]
TMP = tempfile.mkdtemp(prefix="kerbon-join-roundtrip-")
failures = []


def check(cond, what):
    if not cond:
        failures.append(what)
    return cond


def join(doc, kind, *opts, name="case"):
    """Saves doc, joins it, returns (target doc, counts) or (None, None) on failure."""
    src = os.path.join(TMP, name + ".dxf")
    dst = os.path.join(TMP, name + "-joined.dxf")
    doc.saveas(src)
    r = subprocess.run([CLI, "join", kind, src, dst, "--json", *opts],
                       capture_output=True, text=True)
    if not check(r.returncode == 0, f"{name}: join failed: {r.stderr}"):
        return None, None
    counts = json.loads(r.stdout)
    try:
        out = ezdxf.readfile(dst)
    except Exception as e:  # a structure error of the target
        check(False, f"{name}: target unreadable: {e}")
        return None, None
    auditor = out.audit()
    check(not auditor.has_errors and not auditor.has_fixes,
          f"{name}: audit: {[x.message for x in auditor.errors + auditor.fixes]}")
    check(geometry(doc) == geometry(out), f"{name}: geometry changed")
    return out, counts


def rounded(v):
    return tuple(round(c, 4) + 0.0 for c in v)


def geometry(doc):
    """Every segment as (layout, layer, its two end points unordered, its middle point)."""
    segs = []
    for layout in doc.layouts:
        for e in layout:
            if e.dxftype() not in ("LINE", "ARC", "LWPOLYLINE", "POLYLINE"):
                segs.append((layout.name, e.dxftype()))
                continue
            if e.dxftype() == "POLYLINE" and (e.is_poly_face_mesh or e.is_polygon_mesh):
                segs.append((layout.name, "MESH", len(e.vertices)))
                continue
            p = ezpath.make_path(e)
            start = p.start
            for cmd in p.commands():
                end = cmd.end
                if cmd.type == ezpath.Command.LINE_TO:
                    mid = start.lerp(end)
                else:
                    mid = (start + cmd.ctrl1 * 3 + cmd.ctrl2 * 3 + end) / 8
                ends = sorted([rounded(start), rounded(end)])
                segs.append((layout.name, e.dxf.layer, tuple(ends), rounded(mid)))
                start = end
    return sorted(segs, key=repr)


def polylines(doc):
    return [e for e in doc.modelspace() if e.dxftype() in ("LWPOLYLINE", "POLYLINE")]


def fresh(version="R2000"):
    doc = ezdxf.new(version)
    for layer in ("CUT", "BEND"):
        doc.layers.add(layer)
    return doc, doc.modelspace()


def case_arcs_survive_polyline_joining():
    doc, msp = fresh()
    msp.add_lwpolyline([(0, 0, 0), (10, 0, 0)], format="xyb")
    msp.add_lwpolyline([(10, 0, 1), (20, 0, 0)], format="xyb")  # a semicircle
    out, _ = join(doc, "polylines", name="arcs")
    if out:
        (p,) = polylines(out)
        check([b for *_, b in p.get_points("xyb")] == [0, 1, 0], "arcs: bulge lost")


def case_extended_data_stays_at_the_end():
    for kind in ("lines", "polylines"):
        doc, msp = fresh()
        doc.appids.new("KERBON")
        if kind == "lines":
            a = msp.add_line((0, 0), (10, 0), dxfattribs={"layer": "CUT"})
            b = msp.add_line((10, 0), (10, 5), dxfattribs={"layer": "CUT"})
        else:
            a = msp.add_lwpolyline([(0, 0), (10, 0)])
            b = msp.add_lwpolyline([(10, 0), (10, 5)])
        a.set_xdata("KERBON", [(1000, "first")])
        b.set_xdata("KERBON", [(1000, "second")])
        out, _ = join(doc, kind, name="xdata-" + kind)
        if out:
            (p,) = polylines(out)
            check(len(p) == 3, f"xdata-{kind}: points lost")
            check(p.get_xdata("KERBON") == [(1000, "first")], f"xdata-{kind}: xdata lost")


def case_closed_polylines_stay_as_they_are():
    doc, msp = fresh()
    msp.add_lwpolyline([(0, 0), (10, 0), (10, 10), (0, 10)], close=True)
    msp.add_lwpolyline([(10, 10), (20, 10), (20, 20), (10, 20)], close=True)
    msp.add_lwpolyline([(0, 0), (-5, -5)])
    msp.add_polyline2d([(30, 0), (40, 0), (40, 10)], close=True)
    msp.add_polyline2d([(30, 0), (25, -5)])
    out, counts = join(doc, "polylines", name="closed")
    if out:
        check(len(polylines(out)) == 5, "closed: polylines joined")
        check(counts == {"pieces": 5, "polylines": 5, "closed": 3, "open": 2},
              f"closed: counts {counts}")


def case_layers_spaces_and_kinds_stay_apart():
    doc, msp = fresh()
    msp.add_line((0, 0), (10, 0), dxfattribs={"layer": "CUT"})
    msp.add_line((10, 0), (10, 5), dxfattribs={"layer": "BEND"})
    doc.layout("Layout1").add_line((10, 0), (20, 0), dxfattribs={"layer": "CUT"})
    _, counts = join(doc, "lines", name="layers")
    check(counts and counts["polylines"] == 3, f"layers: {counts}")

    doc, msp = fresh()
    msp.add_lwpolyline([(0, 0), (10, 0)])
    msp.add_polyline2d([(10, 0), (20, 0)])
    msp.add_polyline2d([(20, 0), (30, 0)])
    mesh = msp.add_polyface()
    mesh.append_face([(0, 0, 0), (1, 0, 0), (1, 1, 0)])
    msp.add_polyline2d([(0, 0), (0, 5)])
    _, counts = join(doc, "polylines", name="kinds")
    check(counts and counts["polylines"] == 4, f"kinds: {counts}")  # only the two 2D join


def case_extrusion_and_height():
    doc, msp = fresh()
    msp.add_line((0, 0), (10, 0), dxfattribs={"extrusion": (0, 0, -1)})
    msp.add_line((10, 0), (10, 5))
    msp.add_line((0, 0, 5), (10, 0, 5), dxfattribs={"layer": "CUT"})
    msp.add_line((10, 0, 5), (10, 5, 5), dxfattribs={"layer": "CUT"})
    msp.add_line((0, 0, 0), (10, 0, 3), dxfattribs={"layer": "BEND"})
    msp.add_line((10, 0, 3), (10, 5, 6), dxfattribs={"layer": "BEND"})
    # An arc seen from below, meeting the end of a line in world coordinates.
    msp.add_line((-15, 20), (-10, 20), dxfattribs={"layer": "ARC"})
    msp.add_arc((5, 20), 5, 0, 180, dxfattribs={"layer": "ARC", "extrusion": (0, 0, -1)})
    out, counts = join(doc, "lines", "--arcs", name="heights")
    if out:
        kinds = sorted(p.dxftype() for p in polylines(out))
        check(kinds == ["LWPOLYLINE"] * 3 + ["POLYLINE"], f"heights: {kinds}")

    doc, msp = fresh()
    # Seen from below: its OCS x runs the other way, and so does its arc.
    msp.add_lwpolyline([(0, 0, 0.5), (-10, 0, 0)], format="xyb",
                       dxfattribs={"extrusion": (0, 0, -1), "elevation": -2})
    msp.add_lwpolyline([(10, 0, 0), (10, 5, 0)], format="xyb", dxfattribs={"elevation": 2})
    _, counts = join(doc, "polylines", name="mirrored")
    check(counts and counts["polylines"] == 1, f"mirrored: {counts}")


def case_groups_and_old_versions():
    for version in ("R12", "R2000"):
        doc, msp = fresh(version)
        a = msp.add_line((0, 0), (10, 0), dxfattribs={"layer": "CUT"})
        b = msp.add_line((10, 0), (10, 5), dxfattribs={"layer": "CUT"})
        if version != "R12":
            doc.groups.new("PART").extend([a, b])
        out, counts = join(doc, "lines", name="group-" + version)
        if out and version != "R12":
            check(len(out.groups.get("PART")) == 1, "group: merged line still listed")


def case_text_written_by_other_programs():
    """Lines without subclass markers, in a later and in an AC1012 drawing."""
    def line(h, x1, y1, x2, y2):
        return ["0", "LINE", "5", h, "8", "CUT", "10", x1, "20", y1, "11", x2, "21", y2]

    for version, kind in (("AC1015", "LWPOLYLINE"), ("AC1012", "POLYLINE")):
        text = ["0", "SECTION", "2", "HEADER", "9", "$ACADVER", "1", version, "0", "ENDSEC",
                "0", "SECTION", "2", "ENTITIES"] + line("20", "0", "0", "10", "0") + \
            line("21", "10", "0", "10", "5") + ["0", "ENDSEC", "0", "EOF"]
        src = os.path.join(TMP, f"raw-{version}.dxf")
        with open(src, "w", newline="") as f:
            f.write("\r\n".join(text) + "\r\n")
        out, counts = join(ezdxf.readfile(src), "lines", name=f"raw-{version}-read")
        dst = os.path.join(TMP, f"raw-{version}-joined.dxf")
        r = subprocess.run([CLI, "join", "lines", src, dst], capture_output=True, text=True)
        if check(r.returncode == 0, f"raw-{version}: {r.stderr}"):
            try:
                got = [e.dxftype() for e in ezdxf.readfile(dst).modelspace()]
                check(got == [kind], f"raw-{version}: {got}")
            except Exception as e:
                check(False, f"raw-{version}: target unreadable: {e}")


def outline(msp, layer, x, y, w, r, rng):
    """A slot: two lines and two half circles, lines drawn either way; returns pieces."""
    a = (x, y)
    b = (x + w, y)
    c = (x + w, y + 2 * r)
    d = (x, y + 2 * r)
    for p, q in ((a, b), (c, d)):
        if rng.random() < 0.5:
            p, q = q, p
        msp.add_line(p, q, dxfattribs={"layer": layer})
    msp.add_arc((x + w, y + r), r, -90, 90, dxfattribs={"layer": layer})
    msp.add_arc((x, y + r), r, 90, 270, dxfattribs={"layer": layer})
    return 4


def case_options_close_outlines_of_lines_and_arcs():
    """A small corpus: slots on two layers in random order and direction, with loose pieces."""
    for seed in range(8):
        rng = random.Random(seed)
        version = "R12" if seed % 2 else "R2000"
        doc, msp = fresh(version)
        slots = 0
        for k in range(2 + seed % 3):
            outline(msp, ("CUT", "BEND")[k % 2], 50 * k, 0, 20 + k, 3 + k, rng)
            slots += 1
        msp.add_line((500, 0), (510, 0))
        name = f"corpus-{seed}"
        _, counts = join(doc, "lines", "--reverse", "--arcs", "--close", name=name)
        check(counts and counts["closed"] == slots and counts["open"] == 1,
              f"{name}: {counts}")
        join(doc, "lines", name=name + "-plain")
        join(doc, "lines", "--arcs", name=name + "-arcs")


for case in (case_arcs_survive_polyline_joining, case_extended_data_stays_at_the_end,
             case_closed_polylines_stay_as_they_are, case_layers_spaces_and_kinds_stay_apart,
             case_extrusion_and_height, case_groups_and_old_versions,
             case_text_written_by_other_programs,
             case_options_close_outlines_of_lines_and_arcs):
    case()

for f in failures:
    print("FAILED:", f)
if not failures and not os.environ.get("KEEP"):
    import shutil
    shutil.rmtree(TMP, ignore_errors=True)
sys.exit(1 if failures else 0)
