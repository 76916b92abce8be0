// The grid of object boxes behind snapping and picking.
#include "edit/PickIndex.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace kerbon {

namespace {

// A box is filed in at most this many cells; a larger one is tested on every query.
constexpr double kMaxCells = 16;
// An object keeps at most this many boxes (an insert of a large block, a large array);
// beyond, their union stands for them.
constexpr size_t kMaxBoxes = 64;
// An array of more cells than this is bounded by each member's box spread over the grid.
constexpr int kMaxCellBoxes = 16;
// Mouse positions this far outside the area are not narrowed down (the exact tests still
// decide; the pixel arithmetic of such positions is left to them).
constexpr double kMaxPixel = 1e8;
// Pixels added to the reach: the rounding of every vertex to whole pixels, with room.
constexpr double kRoundingSlack = 1.5;
constexpr double kInf = INFINITY;

template <class F>
void forPoints(const model::tpoly& p, F f)
{
    const int np = std::min(p.anzp, int(p.ps.size()));
    auto v = p.ps.begin();
    for (int k = 0; k < np; ++k, ++v)
        f(*v);
    const int ns = std::min(p.anzs, int(p.snap.size()));
    for (int k = 0; k < ns; ++k)
        f(p.snap[size_t(k)]);
}

}  // namespace

void PickIndex::Box::widen(double x, double y)
{
    minx = std::min(minx, x);
    maxx = std::max(maxx, x);
    miny = std::min(miny, y);
    maxy = std::max(maxy, y);
}

void PickIndex::Box::widen(const Box& o)
{
    if (!o.empty()) {
        widen(o.minx, o.miny);
        widen(o.maxx, o.maxy);
    }
}

bool PickIndex::shownBoxes(const model::DisplayModel& m, int i, std::vector<Box>& out, int depth)
{
    const model::tpoly& p = m.polys[size_t(i)];
    // A block member is shown by every insert of its block: its boxes are kept.
    uint8_t* st = p.isblock ? &memoState[size_t(i)] : nullptr;
    if (st && *st >= 2) {
        out.insert(out.end(), memo[size_t(i)].begin(), memo[size_t(i)].end());
        return *st == 2;
    }
    if (st && *st == 1)
        return false;  // a block that inserts itself: what it shows depends on the way in
    if (st)
        *st = 1;

    std::vector<Box> own;
    bool finite = true;
    Box b{kInf, kInf, -kInf, -kInf};
    forPoints(p, [&](const model::Tmypoi& v) {
        if (std::isfinite(v.x) && std::isfinite(v.y))
            b.widen(v.x, v.y);
        else
            finite = false;  // the pixel arithmetic puts it at pixel 0 or the range's ends
    });
    if (!b.empty())
        own.push_back(b);

    const std::vector<int>& members =
        p.insertstr.empty() ? std::vector<int>() : blockIndex.members(p.insertstr);
    if (!members.empty() && depth >= 64) {
        finite = false;  // deeper than the walk goes
    } else if (!members.empty()) {
        // Each member's boxes placed by the first cell, then repeated for every cell of
        // the array, or for a large array spread over all of them.
        const InsertGrid g = insertGrid(p);
        const bool eachCell = double(g.cols) * double(g.rows) <= kMaxCellBoxes;
        const double cx = (g.cols - 1) * g.colx, cy = (g.cols - 1) * g.coly;
        const double rx = (g.rows - 1) * g.rowx, ry = (g.rows - 1) * g.rowy;
        std::vector<Box> inner;
        for (int k : members) {
            inner.clear();
            finite = shownBoxes(m, k, inner, depth + 1) && finite;
            const model::tpoly& q = m.polys[size_t(k)];
            const Placement at = g.first.from(q.blockbasex, q.blockbasey);
            for (const Box& mb : inner) {
                Box placed{kInf, kInf, -kInf, -kInf};
                for (double x : {mb.minx, mb.maxx})
                    for (double y : {mb.miny, mb.maxy})
                        placed.widen(at.mapX(x, y), at.mapY(x, y));
                if (eachCell) {
                    for (int ci = 0; ci < g.cols; ++ci)
                        for (int rj = 0; rj < g.rows; ++rj) {
                            const double ox = ci * g.colx + rj * g.rowx, oy = ci * g.coly + rj * g.rowy;
                            own.push_back({placed.minx + ox, placed.miny + oy, placed.maxx + ox,
                                           placed.maxy + oy});
                        }
                } else {
                    own.push_back({placed.minx + std::min(0.0, cx) + std::min(0.0, rx),
                                   placed.miny + std::min(0.0, cy) + std::min(0.0, ry),
                                   placed.maxx + std::max(0.0, cx) + std::max(0.0, rx),
                                   placed.maxy + std::max(0.0, cy) + std::max(0.0, ry)});
                }
            }
        }
    }
    if (own.size() > kMaxBoxes) {
        Box all{kInf, kInf, -kInf, -kInf};
        for (const Box& o : own)
            all.widen(o);
        own.assign(1, all);
    }
    for (const Box& o : own)
        if (!(std::isfinite(o.minx) && std::isfinite(o.maxx) && std::isfinite(o.miny) &&
              std::isfinite(o.maxy)))
            finite = false;
    if (st) {
        *st = finite ? 2 : 3;
        memo[size_t(i)] = own;
    }
    out.insert(out.end(), own.begin(), own.end());
    return finite;
}

int PickIndex::cellIndex(double offset, int count) const
{
    return int(std::clamp(std::floor(offset / cell), 0.0, double(count - 1)));
}

bool PickIndex::current(const model::DisplayModel& m) const
{
    return builtFor == &m && parsecount == m.parsecount && anzpoly == m.anzpoly;
}

void PickIndex::build(const model::DisplayModel& m)
{
    builtFor = &m;
    parsecount = m.parsecount;
    anzpoly = m.anzpoly;
    const int n = std::clamp(m.anzpoly, 0, int(m.polys.size()));
    blockIndex.build(m);
    memoState.assign(size_t(n), 0);
    memo.assign(size_t(n), {});
    boxes.clear();
    boxObject.clear();
    always.clear();
    large.clear();
    seen.assign(size_t(n), 0);
    query = 0;
    nx = ny = 0;
    start.clear();
    items.clear();

    std::vector<Box> shown;
    for (int i = 0; i < n; ++i) {
        shown.clear();
        if (!shownBoxes(m, i, shown, 0)) {
            always.push_back(i);  // looked at on every query
            continue;
        }
        for (const Box& b : shown) {
            boxes.push_back(b);
            boxObject.push_back(i);
        }
    }
    memo.clear();
    if (boxes.empty())
        return;

    // The grid spans the middle 98 % of the box centres, so that a few far-away boxes (the
    // long outline of a construction line, a stray point) do not stretch it; boxes
    // outside it are filed in its border cells. About one cell per box.
    std::vector<double> cxs, cys;
    cxs.reserve(boxes.size());
    cys.reserve(boxes.size());
    for (const Box& b : boxes) {
        cxs.push_back(b.minx / 2 + b.maxx / 2);
        cys.push_back(b.miny / 2 + b.maxy / 2);
    }
    auto spread = [](std::vector<double>& c, double& lo, double& hi) {
        const size_t k = c.size() >= 100 ? c.size() / 100 : 0;
        std::nth_element(c.begin(), c.begin() + std::ptrdiff_t(k), c.end());
        lo = c[k];
        std::nth_element(c.begin(), c.end() - 1 - std::ptrdiff_t(k), c.end());
        hi = c[c.size() - 1 - k];
    };
    double minx, maxx, miny, maxy;
    spread(cxs, minx, maxx);
    spread(cys, miny, maxy);
    const double w = maxx - minx, h = maxy - miny;
    const int nb = int(boxes.size());
    if (!std::isfinite(w) || !std::isfinite(h)) {
        for (int b = 0; b < nb; ++b)
            large.push_back(b);
        return;
    }
    gx0 = minx;
    gy0 = miny;
    const double side = std::max(w, h);
    cell = side > 0 ? std::max(std::sqrt(std::max(w, side / 1024) * std::max(h, side / 1024) /
                                         double(nb)),
                               side / 4096)
                    : 1;
    nx = int(std::min(w / cell, 4096.0)) + 1;
    ny = int(std::min(h / cell, 4096.0)) + 1;

    // Two passes: count the boxes of each cell, then fill them in, in box order (so each
    // cell lists its objects in model order).
    start.assign(size_t(nx) * size_t(ny) + 1, 0);
    std::vector<uint8_t> filed(size_t(nb), 0);
    for (int pass = 0; pass < 2; ++pass) {
        for (int b = 0; b < nb; ++b) {
            const Box& r = boxes[size_t(b)];
            const int i0 = cellIndex(r.minx - gx0, nx), i1 = cellIndex(r.maxx - gx0, nx);
            const int j0 = cellIndex(r.miny - gy0, ny), j1 = cellIndex(r.maxy - gy0, ny);
            if (pass == 0) {
                if (double(i1 - i0 + 1) * double(j1 - j0 + 1) > kMaxCells) {
                    large.push_back(b);
                    continue;
                }
                filed[size_t(b)] = 1;
            } else if (!filed[size_t(b)]) {
                continue;
            }
            for (int j = j0; j <= j1; ++j)
                for (int k = i0; k <= i1; ++k) {
                    const size_t c = size_t(j) * size_t(nx) + size_t(k);
                    if (pass == 0)
                        ++start[c + 1];
                    else
                        items[size_t(start[c]++)] = b;
                }
        }
        if (pass == 0) {
            for (size_t c = 1; c < start.size(); ++c)
                start[c] += start[c - 1];
            items.resize(size_t(start.back()));
        }
    }
    // The second pass advanced each start to the next cell's start: move them back.
    for (size_t c = start.size() - 1; c > 0; --c)
        start[c] = start[c - 1];
    start[0] = 0;
}

const std::vector<int>* PickIndex::near(const view::ViewState& v, double X, double Y, double reach)
{
    const double z = v.zoomedvalue;
    if (!(z > 0) || !std::isfinite(z) || !(std::fabs(X) <= kMaxPixel) || !(std::fabs(Y) <= kMaxPixel))
        return nullptr;
    const double r = reach + kRoundingSlack;
    double ax, ay, bx, by;
    v.Bildschirm2DXF(X - r, Y - r, ax, ay);
    v.Bildschirm2DXF(X + r, Y + r, bx, by);
    const Box q{std::min(ax, bx), std::min(ay, by), std::max(ax, bx), std::max(ay, by)};
    if (!std::isfinite(q.minx) || !std::isfinite(q.miny) || !std::isfinite(q.maxx) ||
        !std::isfinite(q.maxy))
        return nullptr;

    if (++query == 0) {  // the stamps wrapped: start them again
        std::fill(seen.begin(), seen.end(), 0);
        query = 1;
    }
    found.clear();
    auto take = [&](int b) {
        const int i = boxObject[size_t(b)];
        if (seen[size_t(i)] == query)
            return;
        const Box& r = boxes[size_t(b)];
        if (r.minx <= q.maxx && r.maxx >= q.minx && r.miny <= q.maxy && r.maxy >= q.miny) {
            seen[size_t(i)] = query;
            found.push_back(i);
        }
    };
    if (nx > 0) {  // boxes beyond the grid lie in its border cells: the range is clamped
        const int i0 = cellIndex(q.minx - gx0, nx), i1 = cellIndex(q.maxx - gx0, nx);
        const int j0 = cellIndex(q.miny - gy0, ny), j1 = cellIndex(q.maxy - gy0, ny);
        if (double(i1 - i0 + 1) * double(j1 - j0 + 1) > double(items.size())) {
            // The box covers most of the grid: every filed box once is cheaper.
            for (int b : items)
                take(b);
        } else {
            for (int j = j0; j <= j1; ++j)
                for (int k = i0; k <= i1; ++k) {
                    const size_t c = size_t(j) * size_t(nx) + size_t(k);
                    for (int t = start[c]; t < start[c + 1]; ++t)
                        take(items[size_t(t)]);
                }
        }
    }
    for (int b : large)
        take(b);
    for (int i : always)
        found.push_back(i);
    std::sort(found.begin(), found.end());
    return &found;
}

}  // namespace kerbon
