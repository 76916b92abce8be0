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
    hulls.clear();
    hullDepth = 0;
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

// Corners of the convex hull of `pts`, counter-clockwise (monotone chain); points on an
// edge are left out. The turn test runs in long double, whose range holds the products of
// any two differences of doubles.
std::vector<Point2> convexHull(std::vector<Point2> pts)
{
    std::sort(pts.begin(), pts.end(),
              [](const Point2& p, const Point2& q) { return p.x < q.x || (p.x == q.x && p.y < q.y); });
    pts.erase(std::unique(pts.begin(), pts.end(),
                          [](const Point2& p, const Point2& q) { return p.x == q.x && p.y == q.y; }),
              pts.end());
    if (pts.size() < 3)
        return pts;
    const auto leftTurn = [](const Point2& o, const Point2& a, const Point2& b) {
        using L = long double;
        return (L(a.x) - o.x) * (L(b.y) - o.y) - (L(a.y) - o.y) * (L(b.x) - o.x) > 0;
    };
    std::vector<Point2> h(2 * pts.size());
    size_t k = 0;
    for (const Point2& p : pts) {  // lower chain
        while (k >= 2 && !leftTurn(h[k - 2], h[k - 1], p))
            --k;
        h[k++] = p;
    }
    const size_t lower = k + 1;
    for (size_t i = pts.size() - 1; i-- > 0;) {  // upper chain
        while (k >= lower && !leftTurn(h[k - 2], h[k - 1], pts[i]))
            --k;
        h[k++] = pts[i];
    }
    h.resize(k - 1);  // the last point is the first
    return h;
}

// The points object q shows, placed by `at`, to sink(x, y): for an insert whose block
// shows something, the block's hull through the corner cells of its array; else its
// drawn vertices, its grips only when it has none drawn.
template <class Sink>
void shownPoints(const model::DisplayModel& m, const BlockIndex& blocks, const model::tpoly& q,
                 const Placement& at, Sink&& sink)
{
    if (!q.insertstr.empty()) {
        const std::vector<Point2>& h = blocks.hull(m, q.insertstr);
        if (!h.empty()) {
            const InsertGrid g = insertGrid(q);
            for (int i : {0, g.cols - 1}) {
                for (int j : {0, g.rows - 1}) {
                    const Placement cell = at.after(g.cell(i, j));
                    for (const Point2& c : h)
                        sink(cell.mapX(c.x, c.y), cell.mapY(c.x, c.y));
                    if (g.rows == 1)
                        break;
                }
                if (g.cols == 1)
                    break;
            }
            return;
        }
    }
    const int n = std::min(q.anzp, int(q.ps.size()));
    bool drawn = false;
    auto v = q.ps.begin();
    for (int k = 0; k < n && !drawn; ++k, ++v)
        drawn = !(*v).donotdraw;
    const bool plain = at.isIdentity();  // most objects: no arithmetic on the way
    v = q.ps.begin();
    for (int k = 0; k < n; ++k, ++v)
        if (const model::Tmypoi p = *v; !(drawn && p.donotdraw))
            plain ? sink(p.x, p.y) : sink(at.mapX(p.x, p.y), at.mapY(p.x, p.y));
}

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
    shownPoints(m, blocks, m.polys[size_t(index)], place, [&](double x, double y) { b.widen(x, y); });
    return b;
}

const std::vector<Point2>& BlockIndex::hull(const model::DisplayModel& m, std::string_view name) const
{
    static const std::vector<Point2> none;
    const auto block = byName.find(name);
    if (block == byName.end())
        return none;
    const std::string_view key = block->first;  // lives as long as the model
    if (auto it = hulls.find(key); it != hulls.end())
        return it->second.done ? it->second.corners : none;  // busy: the block inserts itself
    if (hullDepth >= 64)
        return none;
    hulls[key];
    ++hullDepth;
    std::vector<Point2> pts;
    for (int k : block->second) {
        const model::tpoly& q = m.polys[size_t(k)];
        if (q.xline || q.ray)
            continue;
        shownPoints(m, *this, q, Placement{}.from(q.blockbasex, q.blockbasey), [&](double x, double y) {
            if (std::isfinite(x) && std::isfinite(y))
                pts.push_back({x, y});
        });
    }
    --hullDepth;
    Hull& h = hulls[key];
    h.corners = convexHull(std::move(pts));
    h.done = true;
    return h.corners;
}

}  // namespace kerbon
