// Placement of block members through inserts, and the bounds of what an object shows.
#include "dxf/placement.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kerbon {

Placement Placement::after(const Placement& in) const
{
    return {a * in.a + c * in.b, b * in.a + d * in.b, a * in.c + c * in.d, b * in.c + d * in.d,
            mapX(in.e, in.f), mapY(in.e, in.f)};
}

Placement Placement::from(double x, double y) const
{
    Placement p = *this;
    p.e = e - (a * x + c * y);
    p.f = f - (b * x + d * y);
    return p;
}

double Placement::lengthScale() const
{
    return std::sqrt(std::fabs(a * d - b * c));
}

void cosSinDegrees(double deg, double& cs, double& sn)
{
    const double q = deg / 90;
    if (q == std::floor(q) && std::fabs(q) < 1e9) {
        static const double quarter[] = {1, 0, -1, 0};
        const int k = (int(std::fmod(q, 4.0)) + 4) % 4;
        cs = quarter[k];
        sn = quarter[(k + 3) % 4];
        return;
    }
    const double r = deg * std::numbers::pi / 180;
    cs = std::cos(r);
    sn = std::sin(r);
}

ExtrusionAxes extrusionAxes(double nx, double ny, double nz)
{
    ExtrusionAxes e;
    const double l = std::sqrt(nx * nx + ny * ny + nz * nz);
    if (!(l > 0) || !std::isfinite(l) || (nx == 0 && ny == 0 && nz > 0))
        return e;
    e.plain = false;
    double* n = e.n;
    n[0] = nx / l, n[1] = ny / l, n[2] = nz / l;
    double* x = e.ax;
    if (std::fabs(n[0]) < 1.0 / 64 && std::fabs(n[1]) < 1.0 / 64)
        x[0] = n[2], x[1] = 0, x[2] = -n[0];
    else
        x[0] = -n[1], x[1] = n[0], x[2] = 0;
    const double lx = std::sqrt(x[0] * x[0] + x[1] * x[1] + x[2] * x[2]);
    for (int i = 0; i < 3; ++i)
        x[i] /= lx;
    e.ay[0] = n[1] * x[2] - n[2] * x[1];
    e.ay[1] = n[2] * x[0] - n[0] * x[2];
    e.ay[2] = n[0] * x[1] - n[1] * x[0];
    return e;
}

void ExtrusionAxes::toWorld(double& x, double& y, double& z) const
{
    if (plain)
        return;
    const double u = x, v = y, w = z;
    x = u * ax[0] + v * ay[0] + w * n[0];
    y = u * ax[1] + v * ay[1] + w * n[1];
    z = u * ax[2] + v * ay[2] + w * n[2];
}

Placement InsertGrid::cell(int i, int j) const
{
    Placement p = first;
    if (i != 0 || j != 0) {
        p.e += i * colx + j * rowx;
        p.f += i * coly + j * rowy;
    }
    return p;
}

InsertGrid insertGrid(const model::tpoly& p)
{
    InsertGrid g;
    double cs = 1, sn = 0;
    cosSinDegrees(p.rotation, cs, sn);
    // Rotation after scale, in the insert's own axes.
    Placement& f = g.first;
    f.a = cs * p.scalex, f.b = sn * p.scalex;
    f.c = -sn * p.scaley, f.d = cs * p.scaley;
    double colx = cs * p.colspacing, coly = sn * p.colspacing;
    double rowx = -sn * p.rowspacing, rowy = cs * p.rowspacing;
    const ExtrusionAxes e = extrusionAxes(p.ext210, p.ext220, p.ext230);
    if (!e.plain) {
        const Placement axes{e.ax[0], e.ax[1], e.ay[0], e.ay[1], 0, 0};
        f = axes.after(f);
        const double cx = colx, rx = rowx;
        colx = axes.mapX(cx, coly), coly = axes.mapY(cx, coly);
        rowx = axes.mapX(rx, rowy), rowy = axes.mapY(rx, rowy);
    }
    // The insertion point is read into the drawing's coordinates already.
    if (p.anzp > 0 && !p.ps.empty())
        f.e = p.ps[0].x, f.f = p.ps[0].y;
    g.colx = colx, g.coly = coly, g.rowx = rowx, g.rowy = rowy;
    g.cols = std::clamp(p.colcount, 1, kMaxInsertCount);
    g.rows = std::clamp(p.rowcount, 1, kMaxInsertCount);
    return g;
}

void BlockIndex::build(const model::DisplayModel& m)
{
    byName.clear();
    const int n = std::min(m.anzpoly, int(m.polys.size()));
    for (int i = 0; i < n; ++i)
        if (m.polys[size_t(i)].isblock)
            byName[m.polys[size_t(i)].theblockname].push_back(i);
}

const std::vector<int>& BlockIndex::members(std::string_view name) const
{
    static const std::vector<int> none;
    auto it = byName.find(name);
    return it == byName.end() ? none : it->second;
}

void Bounds::widen(double x, double y)
{
    if (!std::isfinite(x) || !std::isfinite(y))
        return;
    if (empty) {
        minx = maxx = x, miny = maxy = y, empty = false;
        return;
    }
    minx = std::min(minx, x), maxx = std::max(maxx, x);
    miny = std::min(miny, y), maxy = std::max(maxy, y);
}

void Bounds::widen(const Bounds& o)
{
    if (!o.empty) {
        widen(o.minx, o.miny);
        widen(o.maxx, o.maxy);
    }
}

namespace {

class PlacedWalk {
public:
    PlacedWalk(const model::DisplayModel& m, const BlockIndex& blocks,
               const std::function<bool(const model::tpoly&, const Placement&)>& fn)
        : m(m), blocks(blocks), fn(fn)
    {
    }

    bool visit(int index, const Placement& place)
    {
        const model::tpoly& p = m.polys[size_t(index)];
        if (--budget < 0)
            return false;
        if (p.insertstr.empty())
            return fn(p, place);
        const std::string_view name = p.insertstr;
        const std::vector<int>& members = blocks.members(name);
        if (members.empty())
            return fn(p, place);
        if (open.size() >= 64 || std::find(open.begin(), open.end(), name) != open.end())
            return false;
        const InsertGrid g = insertGrid(p);
        open.push_back(name);
        bool hit = false;
        for (int i = 0; i < g.cols && !hit && budget > 0; ++i)
            for (int j = 0; j < g.rows && !hit && budget > 0; ++j) {
                const Placement cell = place.after(g.cell(i, j));
                for (int k : members) {
                    const model::tpoly& q = m.polys[size_t(k)];
                    if ((hit = visit(k, cell.from(q.blockbasex, q.blockbasey))))
                        break;
                }
            }
        open.pop_back();
        return hit;
    }

private:
    const model::DisplayModel& m;
    const BlockIndex& blocks;
    const std::function<bool(const model::tpoly&, const Placement&)>& fn;
    std::vector<std::string_view> open;
    int budget = kMaxPlacedVisits;
};

// Offsets of the cells of the arrays around an object: every point stands for the box of
// the point moved by every offset, x in [x1, x2] and y in [y1, y2]. Exact for bounds,
// since the bounds of a set moved by a grid of offsets are the set's bounds moved by the
// grid's.
struct Spread {
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
};

class BoundsWalk {
public:
    BoundsWalk(const model::DisplayModel& m, const BlockIndex& blocks) : m(m), blocks(blocks) {}

    bool add(Bounds& b, int index, const Placement& place, const Spread& s)
    {
        const model::tpoly& p = m.polys[size_t(index)];
        if (!p.insertstr.empty() && enter(b, p, place, s))
            return true;
        return addVertices(b, p, place, s);
    }

private:
    const model::DisplayModel& m;
    const BlockIndex& blocks;
    std::vector<std::string_view> open;  // blocks being walked, innermost last

    bool addVertices(Bounds& b, const model::tpoly& p, const Placement& place, const Spread& s)
    {
        const int n = std::min(p.anzp, int(p.ps.size()));
        const model::Tmypoi* v = p.ps.data();
        bool drawn = false;
        for (int k = 0; k < n && !drawn; ++k)
            drawn = !v[k].donotdraw;
        Bounds own;
        if (place.isIdentity()) {  // most objects: no arithmetic on the way
            for (int k = 0; k < n; ++k)
                if (!(drawn && v[k].donotdraw))
                    own.widen(v[k].x, v[k].y);
        } else {
            for (int k = 0; k < n; ++k)
                if (!(drawn && v[k].donotdraw))
                    own.widen(place.mapX(v[k].x, v[k].y), place.mapY(v[k].x, v[k].y));
        }
        // Moving every point by the spread's corners moves their bounds by them, exactly:
        // adding a number keeps the order of doubles.
        if (!own.empty) {
            b.widen(own.minx + s.x1, own.miny + s.y1);
            b.widen(own.maxx + s.x2, own.maxy + s.y2);
        }
        return !own.empty;
    }

    // The members of an insert's block through every cell; false when they show nothing.
    bool enter(Bounds& b, const model::tpoly& p, const Placement& place, const Spread& s)
    {
        const std::string_view name = p.insertstr;
        if (open.size() >= 64 || std::find(open.begin(), open.end(), name) != open.end())
            return false;
        const std::vector<int>& members = blocks.members(name);
        if (members.empty())
            return false;
        const InsertGrid g = insertGrid(p);
        const Placement cell = place.after(g.first);
        // The grid's steps as the outer placement turns and scales them.
        const double ux = place.a * g.colx + place.c * g.coly, uy = place.b * g.colx + place.d * g.coly;
        const double vx = place.a * g.rowx + place.c * g.rowy, vy = place.b * g.rowx + place.d * g.rowy;
        Spread inner = s;
        for (double d : {(g.cols - 1) * ux, (g.rows - 1) * vx})
            (d < 0 ? inner.x1 : inner.x2) += d;
        for (double d : {(g.cols - 1) * uy, (g.rows - 1) * vy})
            (d < 0 ? inner.y1 : inner.y2) += d;
        open.push_back(name);
        bool any = false;
        for (int i : members) {
            const model::tpoly& q = m.polys[size_t(i)];
            if (q.xline || q.ray)
                continue;
            any = add(b, i, cell.from(q.blockbasex, q.blockbasey), inner) || any;
        }
        open.pop_back();
        return any;
    }
};

}  // namespace

bool anyPlaced(const model::DisplayModel& m, const BlockIndex& blocks, int index,
               const std::function<bool(const model::tpoly&, const Placement&)>& fn,
               const Placement& place)
{
    if (index < 0 || index >= std::min(m.anzpoly, int(m.polys.size())))
        return false;
    return PlacedWalk(m, blocks, fn).visit(index, place);
}

Bounds placedBounds(const model::DisplayModel& m, const BlockIndex& blocks, int index,
                    const Placement& place)
{
    Bounds b;
    if (index < 0 || index >= std::min(m.anzpoly, int(m.polys.size())))
        return b;
    BoundsWalk walk(m, blocks);
    walk.add(b, index, place, {});
    return b;
}

}  // namespace kerbon
