#!/usr/bin/env python3
"""Writes the seed inputs of the fuzz targets into the folders beside this script.

Every drawing is small and written for the project: one of each DXF version and kind the
readers meet (R12 and later layouts, LF, CR and CR LF lines, UTF-8 with and without a
byte-order mark, UTF-16 either way round), the joining tool's inputs, translate.dat and
options.dat, and edit scripts. Run it again after changing it; the output is fixed."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def dxf(pairs, eol="\r\n"):
    return "".join(f"{c:>3}{eol}{v}{eol}" for c, v in pairs)


def section(name, body):
    return [(0, "SECTION"), (2, name)] + body + [(0, "ENDSEC")]


def header(version, seed="FF", extra=()):
    return section("HEADER", [(9, "$ACADVER"), (1, version), (9, "$HANDSEED"), (5, seed),
                              (9, "$DIMTXT"), (40, "2.5"), (9, "$DIMSCALE"), (40, "1.0")]
                   + list(extra))


def tables(r12):
    sub = [] if r12 else [(100, "AcDbSymbolTableRecord")]
    return section("TABLES", [
        (0, "TABLE"), (2, "LTYPE"), (70, 2),
        (0, "LTYPE"), (5, "14")] + sub + [(2, "CONTINUOUS"), (70, 0), (3, "Solid"), (72, 65), (73, 0), (40, "0.0"),
        (0, "LTYPE"), (5, "15")] + sub + [(2, "DASHED"), (70, 0), (3, "__ __"), (72, 65), (73, 2), (40, "15.0"),
                                          (49, "10.0"), (74, 0), (49, "-5.0"), (74, 0),
        (0, "ENDTAB"),
        (0, "TABLE"), (2, "LAYER"), (70, 2),
        (0, "LAYER"), (5, "10")] + sub + [(2, "0"), (70, 0), (62, 7), (6, "CONTINUOUS"), (370, -3),
        (0, "LAYER"), (5, "11")] + sub + [(2, "Kontur"), (70, 0), (62, -1), (6, "DASHED"), (370, 50),
        (0, "ENDTAB"),
        (0, "TABLE"), (2, "DIMSTYLE"), (70, 1),
        (0, "DIMSTYLE"), (105, "27"), (2, "Standard"), (70, 0), (140, "3.5"), (41, "2.5"),
        (0, "ENDTAB")])


def ent(name, handle, r12, subclass, body, layer="0", space=()):
    head = [(0, name), (5, handle)]
    if not r12:
        head += [(330, "1F"), (100, "AcDbEntity")] + list(space) + [(8, layer), (100, subclass)]
    else:
        head += list(space) + [(8, layer)]
    return head + body


def r12_drawing():
    e = []
    e += ent("LINE", "30", True, "", [(10, "0"), (20, "0"), (30, "0"), (11, "100"), (21, "50"), (31, "0")])
    e += ent("CIRCLE", "31", True, "", [(62, 1), (10, "50"), (20, "50"), (40, "20")], layer="Kontur")
    e += ent("ARC", "32", True, "", [(10, "0"), (20, "0"), (40, "30"), (50, "10"), (51, "350"), (210, "0"), (220, "0"), (230, "-1")])
    e += ent("POLYLINE", "33", True, "", [(66, 1), (70, 1)])
    for x, y, b in [(0, 0, "0.5"), (40, 0, "0"), (40, 30, "-1"), (0, 30, "0")]:
        e += [(0, "VERTEX"), (5, "3" + str(4 + x // 40)), (8, "0"), (10, str(x)), (20, str(y)), (42, b)]
    e += [(0, "SEQEND"), (5, "39"), (8, "0")]
    e += ent("TEXT", "3A", True, "", [(10, "5"), (20, "5"), (40, "2.5"), (1, "Teil 1 %%c20"), (50, "30"), (72, 1), (11, "5"), (21, "5")])
    e += ent("INSERT", "3B", True, "", [(66, 1), (2, "SCHRAUBE"), (10, "80"), (20, "10"), (41, "2"), (42, "-1"), (50, "45"), (70, 2), (71, 2), (44, "30"), (45, "30")])
    e += [(0, "ATTRIB"), (5, "3C"), (8, "0"), (10, "80"), (20, "10"), (40, "2"), (1, "M6"), (2, "GROESSE"), (70, 0)]
    e += [(0, "SEQEND"), (5, "3D"), (8, "0")]
    e += ent("POINT", "3E", True, "", [(10, "7"), (20, "7")])
    e += ent("SOLID", "3F", True, "", [(10, "0"), (20, "0"), (11, "10"), (21, "0"), (12, "0"), (22, "10"), (13, "10"), (23, "10")])
    blocks = section("BLOCKS", [(0, "BLOCK"), (5, "20"), (8, "0"), (2, "SCHRAUBE"), (70, 2), (10, "0"), (20, "0"), (3, "SCHRAUBE"),
                                (0, "CIRCLE"), (5, "21"), (8, "0"), (10, "0"), (20, "0"), (40, "3"),
                                (0, "ATTDEF"), (5, "22"), (8, "0"), (10, "0"), (20, "0"), (40, "2"), (1, ""), (2, "GROESSE"), (3, "Groesse?"), (70, 0),
                                (0, "ENDBLK"), (5, "23"), (8, "0")])
    return header("AC1009", "40") + tables(True) + blocks + section("ENTITIES", e) + [(0, "EOF")]


def later_drawing(version="AC1015", text="Blech 2 mm"):
    r = False
    e = []
    e += ent("LWPOLYLINE", "30", r, "AcDbPolyline", [(90, 4), (70, 1), (43, "0.5"),
        (10, "0"), (20, "0"), (42, "0.4142"), (10, "60"), (20, "0"), (10, "60"), (20, "40"), (42, "-1"), (10, "0"), (20, "40")], layer="Kontur")
    e += ent("SPLINE", "31", r, "AcDbSpline", [(210, "0"), (220, "0"), (230, "1"), (70, 12), (71, 3), (72, 8), (73, 4), (74, 0),
        (40, "0"), (40, "0"), (40, "0"), (40, "0"), (40, "1"), (40, "1"), (40, "1"), (40, "1"),
        (10, "0"), (20, "0"), (30, "0"), (41, "1"), (10, "10"), (20, "20"), (30, "0"), (41, "0.7071"),
        (10, "30"), (20, "20"), (30, "0"), (41, "1"), (10, "40"), (20, "0"), (30, "0"), (41, "1")])
    e += ent("ELLIPSE", "33", r, "AcDbEllipse", [(10, "100"), (20, "100"), (30, "0"), (11, "30"), (21, "10"), (31, "0"),
        (40, "0.5"), (41, "0"), (42, "4.0"), (210, "0"), (220, "0"), (230, "-1")])
    e += ent("MTEXT", "34", r, "AcDbMText", [(10, "0"), (20, "-20"), (40, "3.5"), (41, "80"), (71, 1), (1, "\\PZeile {\\fArial;zwei}\\~" + text), (50, "0.5")])
    e += ent("DIMENSION", "35", r, "AcDbDimension", [(2, "*D1"), (10, "0"), (20, "60"), (11, "30"), (21, "62"), (70, 32), (1, "<> mm"), (3, "Standard"),
        (100, "AcDbAlignedDimension"), (13, "0"), (23, "0"), (14, "60"), (24, "0"), (50, "0"), (100, "AcDbRotatedDimension")])
    e += ent("DIMENSION", "36", r, "AcDbDimension", [(2, "*D2"), (10, "50"), (20, "50"), (11, "70"), (21, "70"), (70, 34), (1, ""),
        (100, "AcDb2LineAngularDimension"), (13, "50"), (23, "50"), (14, "80"), (24, "50"), (15, "50"), (25, "50"), (16, "70"), (26, "80")])
    e += ent("DIMENSION", "37", r, "AcDbDimension", [(2, "*D3"), (10, "100"), (20, "100"), (11, "110"), (21, "110"), (70, 35), (1, ""),
        (100, "AcDbDiametricDimension"), (15, "80"), (25, "100"), (40, "5")])
    e += ent("HATCH", "38", r, "AcDbHatch", [(10, "0"), (20, "0"), (30, "0"), (210, "0"), (220, "0"), (230, "1"), (2, "ANSI31"), (70, 0), (71, 0), (91, 2),
        (92, 2), (72, 1), (73, 1), (93, 4), (10, "0"), (20, "0"), (42, "0"), (10, "20"), (20, "0"), (10, "20"), (20, "20"), (10, "0"), (20, "20"), (97, 0),
        (92, 1), (93, 3),
        (72, 1), (10, "5"), (20, "5"), (11, "15"), (21, "5"),
        (72, 2), (10, "10"), (20, "5"), (40, "5"), (50, "0"), (51, "180"), (73, 1),
        (72, 3), (10, "10"), (20, "10"), (11, "5"), (21, "0"), (40, "0.5"), (50, "0"), (51, "360"), (73, 0),
        (97, 0), (75, 0), (76, 1), (52, "0"), (41, "1"), (77, 0), (78, 1), (53, "45"), (43, "0"), (44, "0"), (45, "-2"), (46, "2"), (79, 0), (98, 0)])
    e += ent("HATCH", "39", r, "AcDbHatch", [(2, "SOLID"), (70, 1), (71, 0), (91, 1), (92, 1), (93, 1),
        (72, 4), (94, 3), (73, 0), (74, 0), (95, 4), (96, 4), (40, "0"), (40, "0"), (40, "0"), (40, "1"), (40, "1"), (40, "1"),
        (10, "0"), (20, "0"), (10, "10"), (20, "10"), (10, "20"), (20, "0"), (10, "10"), (20, "-10"), (97, 0), (75, 0), (76, 1), (98, 0)])
    e += ent("LEADER", "3A", r, "AcDbLeader", [(3, "Standard"), (71, 1), (72, 0), (76, 2), (10, "0"), (20, "0"), (10, "10"), (20, "10")])
    e += ent("XLINE", "3B", r, "AcDbXline", [(10, "0"), (20, "0"), (11, "1"), (21, "1")])
    e += ent("RAY", "3C", r, "AcDbRay", [(10, "5"), (20, "5"), (11, "0"), (21, "1")])
    e += ent("WIPEOUT", "3D", r, "AcDbWipeout", [(10, "-0.5"), (20, "-0.5"), (11, "20"), (21, "0"), (12, "0"), (22, "10"), (71, 2), (91, 2), (14, "-0.5"), (24, "-0.5"), (14, "0.5"), (24, "0.5")])
    e += ent("INSERT", "3E", r, "AcDbBlockReference", [(2, "BLECH"), (10, "200"), (20, "0"), (41, "1.5"), (42, "1.5"), (50, "90")])
    e += ent("TEXT", "3F", r, "AcDbText", [(10, "0"), (20, "0"), (40, "5"), (1, text), (7, "Standard"), (100, "AcDbText")], space=[(67, 1)])
    e += ent("VIEWPORT", "40", r, "AcDbViewport", [(10, "100"), (20, "100"), (40, "150"), (41, "100"), (68, 2), (69, 2), (12, "50"), (22, "50"), (45, "120")], space=[(67, 1)])
    e += ent("LINE", "41", r, "AcDbLine", [(10, "0"), (20, "0"), (11, "200"), (21, "0"), (6, "DASHED"), (370, 35), (62, 256)], space=[(67, 1)])
    blocks = section("BLOCKS", [
        (0, "BLOCK"), (5, "20"), (330, "1F"), (100, "AcDbEntity"), (8, "0"), (100, "AcDbBlockBegin"), (2, "*Model_Space"), (70, 0), (10, "0"), (20, "0"), (3, "*Model_Space"),
        (0, "ENDBLK"), (5, "21"), (330, "1F"), (100, "AcDbEntity"), (8, "0"), (100, "AcDbBlockEnd"),
        (0, "BLOCK"), (5, "1C"), (330, "1B"), (100, "AcDbEntity"), (67, 1), (8, "0"), (100, "AcDbBlockBegin"), (2, "*Paper_Space"), (70, 0), (10, "0"), (20, "0"), (3, "*Paper_Space"),
        (0, "ENDBLK"), (5, "1D"), (330, "1B"), (100, "AcDbEntity"), (67, 1), (8, "0"), (100, "AcDbBlockEnd"),
        (0, "BLOCK"), (5, "24"), (330, "23"), (100, "AcDbEntity"), (8, "0"), (100, "AcDbBlockBegin"), (2, "BLECH"), (70, 0), (10, "5"), (20, "5"), (3, "BLECH"),
        (0, "LINE"), (5, "25"), (330, "23"), (100, "AcDbEntity"), (8, "0"), (100, "AcDbLine"), (10, "0"), (20, "0"), (11, "10"), (21, "10"),
        (0, "INSERT"), (5, "26"), (330, "23"), (100, "AcDbEntity"), (8, "0"), (100, "AcDbBlockReference"), (2, "BLECH"), (10, "1"), (20, "1"),
        (0, "ENDBLK"), (5, "27"), (330, "23"), (100, "AcDbEntity"), (8, "0"), (100, "AcDbBlockEnd")])
    objects = section("OBJECTS", [
        (0, "DICTIONARY"), (5, "C"), (330, "0"), (100, "AcDbDictionary"), (3, "ACAD_LAYOUT"), (350, "1A"),
        (0, "LAYOUT"), (5, "22"), (330, "1A"), (100, "AcDbPlotSettings"), (1, ""), (100, "AcDbLayout"), (1, "Model"), (70, 1), (71, 0),
        (10, "0"), (20, "0"), (11, "420"), (21, "297"), (14, "0"), (24, "0"), (34, "0"), (15, "100"), (25, "100"), (35, "0"), (330, "1F"),
        (0, "LAYOUT"), (5, "1E"), (330, "1A"), (100, "AcDbPlotSettings"), (1, ""), (100, "AcDbLayout"), (1, "Blatt A"), (70, 1), (71, 2),
        (10, "0"), (20, "0"), (11, "420"), (21, "297"), (14, "0"), (24, "0"), (15, "297"), (25, "210"), (330, "1B"),
        (0, "LAYOUT"), (5, "28"), (330, "1A"), (100, "AcDbPlotSettings"), (1, ""), (100, "AcDbLayout"), (1, "Blatt B"), (70, 1), (71, 1), (330, "23")])
    return header(version, "50") + tables(False) + blocks + section("ENTITIES", e) + objects + [(0, "EOF")]


def fitted_spline():
    # A spline given by the points it passes through alone: fitted at every parse, which is
    # slow, so it has a seed of its own.
    e = ent("SPLINE", "32", False, "AcDbSpline", [(70, 8), (71, 3), (72, 0), (73, 0), (74, 4),
        (11, "0"), (21, "50"), (31, "0"), (11, "20"), (21, "70"), (31, "0"), (11, "40"), (21, "50"), (31, "0"),
        (11, "50"), (21, "60"), (31, "0")])
    return header("AC1015", "40") + section("ENTITIES", e) + [(0, "EOF")]


def parts_with_holes():
    # Outlines with holes and a block of parts: what nesting takes over.
    e = []
    def rect(h, x, y, w, hh):
        return ent("LWPOLYLINE", h, False, "AcDbPolyline", [(90, 4), (70, 1),
            (10, str(x)), (20, str(y)), (10, str(x + w)), (20, str(y)), (10, str(x + w)), (20, str(y + hh)), (10, str(x)), (20, str(y + hh))])
    e += rect("30", 0, 0, 100, 60)
    e += ent("CIRCLE", "31", False, "AcDbCircle", [(10, "25"), (20, "30"), (40, "10")])
    e += ent("CIRCLE", "32", False, "AcDbCircle", [(10, "75"), (20, "30"), (40, "10")])
    e += rect("33", 120, 0, 50, 50)
    e += rect("34", 130, 10, 30, 30)
    e += ent("LINE", "35", False, "AcDbLine", [(10, "140"), (20, "20"), (11, "150"), (21, "20")])
    e += ent("INSERT", "36", False, "AcDbBlockReference", [(2, "TEIL"), (10, "200"), (20, "0")])
    e += ent("XLINE", "37", False, "AcDbXline", [(10, "0"), (20, "0"), (11, "1"), (21, "0")])
    blocks = section("BLOCKS", [
        (0, "BLOCK"), (5, "24"), (8, "0"), (2, "TEIL"), (70, 0), (10, "0"), (20, "0"), (3, "TEIL")]
        + ent("CIRCLE", "25", False, "AcDbCircle", [(10, "10"), (20, "10"), (40, "10")])
        + ent("CIRCLE", "26", False, "AcDbCircle", [(10, "10"), (20, "10"), (40, "3")])
        + [(0, "ENDBLK"), (5, "27"), (8, "0")])
    return header("AC1015", "40") + blocks + section("ENTITIES", e) + [(0, "EOF")]


def loose_lines(r12):
    e = []
    pts = [(0, 0), (50, 0), (50, 30), (0, 30), (0, 0)]
    h = 0x30
    for (x1, y1), (x2, y2) in zip(pts, pts[1:]):
        # every other piece drawn backwards, one end a little off
        e += ent("LINE", f"{h:X}", r12, "AcDbLine", [(10, str(x1)), (20, str(y1)), (30, "0"), (11, str(x2 + 0.001)), (21, str(y2)), (31, "0")])
        h += 1
    e += ent("LINE", f"{h:X}", r12, "AcDbLine", [(10, "100"), (20, "100"), (11, "100"), (21, "100")])
    return header("AC1009" if r12 else "AC1015", f"{h + 1:X}") + section("ENTITIES", e) + [(0, "EOF")]


def broken_polylines(r12):
    e = []
    if r12:
        for part, pts in enumerate([[(0, 0), (20, 0)], [(20, 0), (20, 20)], [(20, 20), (0, 0)]]):
            e += ent("POLYLINE", f"{0x30 + 4 * part:X}", True, "", [(66, 1), (70, 0)])
            for x, y in pts:
                e += [(0, "VERTEX"), (8, "0"), (10, str(x)), (20, str(y)), (42, "0.2")]
            e += [(0, "SEQEND"), (8, "0")]
    else:
        e += ent("LWPOLYLINE", "30", False, "AcDbPolyline", [(90, 2), (70, 0), (10, "0"), (20, "0"), (42, "1"), (10, "20"), (20, "0")])
        e += ent("LWPOLYLINE", "31", False, "AcDbPolyline", [(90, 3), (70, 0), (10, "20"), (20, "0"), (10, "20"), (20, "20"), (10, "0"), (20, "0")])
        e += ent("POLYLINE", "32", False, "AcDb2dPolyline", [(66, 1), (70, 1)])
        for x, y in [(50, 50), (60, 50), (60, 60)]:
            e += [(0, "VERTEX"), (5, "33"), (100, "AcDbEntity"), (8, "0"), (100, "AcDbVertex"), (10, str(x)), (20, str(y))]
        e += [(0, "SEQEND"), (5, "36"), (100, "AcDbEntity"), (8, "0")]
    return header("AC1009" if r12 else "AC1015", "40") + section("ENTITIES", e) + [(0, "EOF")]


def translate_dat(rows):
    out = struct.pack("<ii", 20, len(rows))
    for row in rows:
        for c in range(20):
            cell = row[c] if c < len(row) else ""
            units = cell.encode("utf-16-le")
            out += struct.pack("<i", len(units) // 2) + units
    return out


def write(target, name, data):
    os.makedirs(os.path.join(HERE, target), exist_ok=True)
    with open(os.path.join(HERE, target, name), "wb") as f:
        f.write(data if isinstance(data, bytes) else data.encode("utf-8"))


def main():
    r12 = r12_drawing()
    later = later_drawing()
    drawings = {
        "r12.dxf": dxf(r12).encode("cp1252"),
        "r2000.dxf": dxf(later).encode("cp1252"),
        "r2000-lf.dxf": dxf(later, "\n").encode("cp1252"),
        "r12-cr.dxf": dxf(r12, "\r").encode("cp1252"),
        "r2007-utf8.dxf": dxf(later_drawing("AC1021", "Maß Ø20 – 日本")).encode("utf-8"),
        "r2000-utf8-bom.dxf": b"\xef\xbb\xbf" + dxf(later_drawing("AC1015", "Größe")).encode("utf-8"),
        "r2000-utf16le.dxf": b"\xff\xfe" + dxf(later, "\r\n").encode("utf-16-le"),
        "r12-utf16be.dxf": b"\xfe\xff" + dxf(r12).encode("utf-16-be"),
        "fitted-spline.dxf": dxf(fitted_spline(), "\n").encode("cp1252"),
        "parts-with-holes.dxf": dxf(parts_with_holes()).encode("cp1252"),
    }
    for name, data in drawings.items():
        write("drawings", name, data)
    for r in (True, False):
        v = "r12" if r else "r2000"
        write("contour", f"lines-{v}.dxf", dxf(loose_lines(r)))
        write("contour", f"polylines-{v}.dxf", dxf(broken_polylines(r)))
    write("contour", "lines-lf.dxf", dxf(loose_lines(False), "\n"))

    write("progfiles", "english.dat", translate_dat([["Öffnen...", "Open..."], ["Speichern", "Save"],
                                                      ["unbenannt.dxf", "untitled.dxf", "sans titre.dxf"]]))
    write("progfiles", "column7.dat", struct.pack("<i", 7) + struct.pack("<i", 1) + b"\x01\x00\x00\x00A\x00")
    write("progfiles", "options-english.dat", struct.pack("<i", 1))

    scripts = {
        "draw.txt": "line 0 0 100 50\nxline 0 0 1 1; ray 5 5 0 1  # comment\nundo\n",
        "select.txt": "line 0 0 10 10\nline 0 10 10 0\nselect window -1 -1 11 11\ndelete\nundo\nselect pick 5 5\nselect all\nselect none\n",
        "tabs.txt": "tab 1\nline 0 0 5 5\ntab 0\nline \"1\" 2 3 4\n",
        "numbered.txt": "0 1 2 3 4\n1 0 0 1 1\n3 all\n4\n",
    }
    for name, text in scripts.items():
        write("edit_script", name, text)
    write("edit_script", "on-r12.txt", "select all\ndelete\nline 0 0 1 1\nundo\n%%DXF\n" + dxf(r12, "\n"))
    write("edit_script", "on-layouts.txt", "tab 1\nselect all\ndelete\ntab 2\nline 0 0 1 1\n%%DXF\n" + dxf(later, "\n"))


if __name__ == "__main__":
    main()
