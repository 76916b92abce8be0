// Selection in drawing units.
#include "edit/selection.h"

#include <algorithm>
#include <cmath>

#include "dxf/placement.h"

namespace kerbon {

namespace {

bool candidate(const model::tpoly& p, const LayoutFilter& f)
{
    return !p.locked && f.passes(p);
}

// Distance from (x, y) to the segment from (ax, ay) to (bx, by).
double segmentDistance(double x, double y, double ax, double ay, double bx, double by)
{
    const double dx = bx - ax, dy = by - ay;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((x - ax) * dx + (y - ay) * dy) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(x - (ax + t * dx), y - (ay + t * dy));
}

// A drawn vertex of p, placed by `at`, inside [lx, hx] x [ly, hy].
bool vertexInside(const model::tpoly& p, const Placement& at, double lx, double hx, double ly,
                  double hy)
{
    for (int k = 0; k < p.anzp; ++k) {
        const model::Tmypoi& v = p.ps[size_t(k)];
        const double x = at.mapX(v.x, v.y), y = at.mapY(v.x, v.y);
        if (!v.donotdraw && x >= lx && x <= hx && y >= ly && y <= hy)
            return true;
    }
    return false;
}

// p's outline, placed by `at`, passes within tol of (x, y).
bool outlineNear(const model::tpoly& p, const Placement& at, double x, double y, double tol)
{
    double px = 0, py = 0;
    bool prev = false;
    for (int k = 0; k < p.anzp; ++k) {
        const model::Tmypoi& v = p.ps[size_t(k)];
        if (v.donotdraw)
            continue;
        const double vx = at.mapX(v.x, v.y), vy = at.mapY(v.x, v.y);
        const bool from = prev && !v.moveonly;
        if (segmentDistance(x, y, from ? px : vx, from ? py : vy, vx, vy) <= tol)
            return true;
        px = vx, py = vy, prev = true;
    }
    if (p.isclosed && p.anzp > 1) {
        const model::Tmypoi& a = p.ps[size_t(p.anzp - 1)];
        const model::Tmypoi& b = p.ps[0];
        return segmentDistance(x, y, at.mapX(a.x, a.y), at.mapY(a.x, a.y), at.mapX(b.x, b.y),
                               at.mapY(b.x, b.y)) <= tol;
    }
    return false;
}

}  // namespace

void selectAll(model::DisplayModel& m, const LayoutFilter& f)
{
    for (int i = 0; i < m.anzpoly; ++i) {
        model::tpoly& p = m.polys[size_t(i)];
        if (!p.locked && f.layoutTest(p))
            p.selected = true;
    }
}

void selectNone(model::DisplayModel& m)
{
    for (model::tpoly& p : m.polys)
        p.selected = false;
}

int selectWindow(model::DisplayModel& m, const LayoutFilter& f, double x1, double y1,
                 double x2, double y2)
{
    const double lx = std::min(x1, x2), hx = std::max(x1, x2);
    const double ly = std::min(y1, y2), hy = std::max(y1, y2);
    BlockIndex blocks;
    blocks.build(m);
    const auto inside = [&](const model::tpoly& q, const Placement& at) {
        return vertexInside(q, at, lx, hx, ly, hy);
    };
    int hits = 0;
    for (int i = 0; i < m.anzpoly; ++i) {
        model::tpoly& p = m.polys[size_t(i)];
        if (candidate(p, f) && anyPlaced(m, blocks, i, inside)) {
            p.selected = true;
            ++hits;
        }
    }
    return hits;
}

int selectAt(model::DisplayModel& m, const LayoutFilter& f, double x, double y, double tol)
{
    BlockIndex blocks;
    blocks.build(m);
    const auto near = [&](const model::tpoly& q, const Placement& at) {
        return outlineNear(q, at, x, y, tol);
    };
    int hits = 0;
    for (int i = 0; i < m.anzpoly; ++i) {
        model::tpoly& p = m.polys[size_t(i)];
        if (candidate(p, f) && anyPlaced(m, blocks, i, near)) {
            p.selected = true;
            ++hits;
        }
    }
    return hits;
}

}  // namespace kerbon
