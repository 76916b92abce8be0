// The values a dragged grip writes.
#include "edit/grips.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

#include "edit/transforms.h"

namespace kerbon {

namespace {

// The number on value line `line`, when the line is one of the document's (line 0 is a
// code line: a reference of 0 means none) and holds one.
std::optional<double> valueAt(const LineStore& dxf, int line)
{
    if (line <= 0 || line >= dxf.count())
        return std::nullopt;
    return dxfToDouble(dxf[line]);
}

void write(GripEdits& g, const LineStore& dxf, int line, double now)
{
    const std::optional<double> old = valueAt(dxf, line);
    if (!old)
        return;
    if (!std::isfinite(now))
        g.finite = false;
    else if (now != *old)
        g.edits.replace(line, floattodxf(now));
}

}  // namespace

GripEdits pointGripEdits(const LineStore& dxf, const model::tpoly& p, int pointnr, double dx,
                         double dy, double ex, double ey)
{
    GripEdits g;
    if (pointnr < 0 || pointnr >= std::min(p.anzp, int(p.ps.size())))
        return g;
    const int n = std::min(p.anzp, int(p.ps.size()));
    // A solid shows its corners 3 and 4 (codes 12 and 13) swapped, with their coordinates
    // but not their lines: the corner shown is edited through the other vertex's lines.
    int lines = pointnr;
    if (p.issolid && !p.patternfill && n == 4 && pointnr >= 2)
        lines = 5 - pointnr;
    const model::Tmypoi& v = p.ps[size_t(lines)];
    // An object in its own axes seen from below keeps its x values reversed, its angles
    // mirrored.
    const bool below = seenFromBelow(dxf, p);
    const double tx = ex - p.cx, ty = ey - p.cy;
    if (const std::optional<double> old = valueAt(dxf, v.linex)) {
        switch (v.mode) {
        case 3: {  // arc end angle
            const double a = std::atan2(ty, tx) * 180 / std::numbers::pi;
            write(g, dxf, v.linex, below ? 180 - a : a);
            break;
        }
        case 2:  // ellipse axis ratio
            if (p.radius1 != 0)
                write(g, dxf, v.linex, std::hypot(tx, ty) / p.radius1);
            break;
        case 1: write(g, dxf, v.linex, std::hypot(tx, ty)); break;  // radius
        default: write(g, dxf, v.linex, below ? *old - dx : *old + dx); break;
        }
    }
    if (const std::optional<double> old = valueAt(dxf, v.liney))
        write(g, dxf, v.liney, *old + dy);
    return g;
}

ViewportFrame viewportFrame(const model::tpoly& p)
{
    return {p.widx, p.widy, p.cx, p.cy, p.panx, p.pany, p.viewheight};
}

ViewportFrame draggedViewport(const model::tpoly& p, int pointnr, double dx, double dy)
{
    ViewportFrame f = viewportFrame(p);
    switch (pointnr) {
    case 0:
    case 1:
    case 2:
    case 3:
        // Corners lower left, lower right, upper right, upper left: the opposite corner
        // stays, so the centre moves by half the drag.
        f.w += pointnr == 0 || pointnr == 3 ? -dx : dx;
        f.h += pointnr <= 1 ? -dy : dy;
        f.cx += dx / 2;
        f.cy += dy / 2;
        break;
    case 5:
        if (f.h != 0) {
            f.panx += dx * f.viewheight / f.h;
            f.pany += dy * f.viewheight / f.h;
        }
        break;
    case 6:
        if (p.anzp > 6 && int(p.ps.size()) > 6 && f.h != 0) {
            const double gx = p.ps[6].x + dx - f.cx, gy = p.ps[6].y + dy - f.cy;
            const double r = std::hypot(gx, gy) / (f.h / 4);
            if (r != 0)
                f.viewheight /= r;
        }
        break;
    default: break;
    }
    return f;
}

GripEdits viewportEdits(const LineStore& dxf, const model::tpoly& p, int pointnr,
                        const ViewportFrame& f)
{
    GripEdits g;
    const int n = std::min(p.anzp, int(p.ps.size()));
    if (n < 8)
        return g;  // no frame: the sheet viewport
    auto line = [&](int vertex, bool y = false) {
        return y ? p.ps[size_t(vertex)].liney : p.ps[size_t(vertex)].linex;
    };
    if (pointnr <= 3 || pointnr == 7) {
        write(g, dxf, line(0), f.cx);
        write(g, dxf, line(1), f.cy);
        write(g, dxf, line(2), f.w);
        write(g, dxf, line(3), f.h);
    }
    if (pointnr == 5 || pointnr == 7) {
        write(g, dxf, line(5), f.panx);
        write(g, dxf, line(5, true), f.pany);
    }
    if (pointnr == 6 || pointnr == 7)
        write(g, dxf, line(6), f.viewheight);
    return g;
}

}  // namespace kerbon
