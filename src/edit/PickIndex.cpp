// The grid of object boxes behind snapping and picking.
#include "edit/PickIndex.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace kerbon {

namespace {

enum : uint8_t { Empty = 0, Boxed = 1, Always = 2 };

// An object is filed in at most this many cells; a larger one is tested by its box alone.
constexpr double kMaxCells = 16;
// Mouse positions this far outside the area are not narrowed down (the exact tests still
// decide; the pixel arithmetic of such positions is left to them).
constexpr double kMaxPixel = 1e8;
// Pixels added to the reach: the rounding of every vertex to whole pixels, with room.
constexpr double kRoundingSlack = 1.5;

template <class F>
void forPoints(const model::tpoly& p, F f)
{
    const int np = std::min(p.anzp, int(p.ps.size()));
    for (int k = 0; k < np; ++k)
        f(p.ps[size_t(k)]);
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

bool PickIndex::shownBox(const model::DisplayModel& m, int i, Box& b, int depth)
{
    uint8_t& st = shownState[size_t(i)];
    if (st == 2 || st == 3) {
        b = shown[size_t(i)];
        return st == 2;
    }
    if (st == 1) {
        // A block that inserts itself: what the walk shows then depends on where it
        // starts, so every object on the way is looked at on every query.
        b = Box{INFINITY, INFINITY, -INFINITY, -INFINITY};
        return false;
    }
    st = 1;
    const model::tpoly& p = m.polys[size_t(i)];
    Box own{INFINITY, INFINITY, -INFINITY, -INFINITY};
    bool finite = true;
    forPoints(p, [&](const model::Tmypoi& v) {
        if (std::isfinite(v.x) && std::isfinite(v.y))
            own.widen(v.x, v.y);
        else
            finite = false;
    });
    const std::vector<int>& members = p.insertstr.empty() ? std::vector<int>() : blockIndex.members(p.insertstr);
    if (!members.empty()) {
        if (depth >= 64) {
            finite = false;  // deeper than the walk goes: looked at on every query
        } else {
            // Each member's box moved to the block's base and placed by the first cell,
            // then spread over the offsets of the other cells.
            const InsertGrid g = insertGrid(p);
            Box placed{INFINITY, INFINITY, -INFINITY, -INFINITY};
            for (int k : members) {
                Box mb;
                finite = shownBox(m, k, mb, depth + 1) && finite;
                if (!(mb.minx <= mb.maxx))
                    continue;
                const model::tpoly& q = m.polys[size_t(k)];
                const Placement at = g.first.from(q.blockbasex, q.blockbasey);
                for (double x : {mb.minx, mb.maxx})
                    for (double y : {mb.miny, mb.maxy})
                        placed.widen(at.mapX(x, y), at.mapY(x, y));
            }
            const double cx = (g.cols - 1) * g.colx, cy = (g.cols - 1) * g.coly;
            const double rx = (g.rows - 1) * g.rowx, ry = (g.rows - 1) * g.rowy;
            if (placed.minx <= placed.maxx) {
                own.widen(placed.minx + std::min(0.0, cx) + std::min(0.0, rx),
                          placed.miny + std::min(0.0, cy) + std::min(0.0, ry));
                own.widen(placed.maxx + std::max(0.0, cx) + std::max(0.0, rx),
                          placed.maxy + std::max(0.0, cy) + std::max(0.0, ry));
            }
        }
    }
    finite = finite && (!(own.minx <= own.maxx) ||
                        (std::isfinite(own.minx) && std::isfinite(own.maxx) &&
                         std::isfinite(own.miny) && std::isfinite(own.maxy)));
    shown[size_t(i)] = own;
    st = finite ? 2 : 3;
    b = own;
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
    boxes.assign(size_t(n), Box{});
    state.assign(size_t(n), Empty);
    always.clear();
    large.clear();
    seen.assign(size_t(n), 0);
    query = 0;

    blockIndex.build(m);
    shownState.assign(size_t(n), 0);
    shown.assign(size_t(n), Box{INFINITY, INFINITY, -INFINITY, -INFINITY});
    std::vector<double> cxs, cys;  // box centres
    for (int i = 0; i < n; ++i) {
        Box b;
        const bool finite = shownBox(m, i, b, 0);
        if (finite && !(b.minx <= b.maxx))
            continue;  // shows nothing
        if (!finite) {
            // A point the pixel arithmetic cannot place (it rounds to pixel 0 or to the
            // ends of the range): such an object is looked at on every query.
            state[size_t(i)] = Always;
            always.push_back(i);
            continue;
        }
        state[size_t(i)] = Boxed;
        boxes[size_t(i)] = b;
        cxs.push_back(b.minx / 2 + b.maxx / 2);
        cys.push_back(b.miny / 2 + b.maxy / 2);
    }

    // The grid spans the middle 98 % of the box centres, so that a few far-away objects
    // (the long outline of a construction line, a stray point) do not stretch it; objects
    // outside it are filed in its border cells.
    nx = ny = 0;
    start.clear();
    items.clear();
    const size_t boxed = cxs.size();
    if (boxed == 0)
        return;
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
    if (!std::isfinite(w) || !std::isfinite(h)) {
        for (int i = 0; i < n; ++i)
            if (state[size_t(i)] == Boxed)
                large.push_back(i);
        return;
    }
    gx0 = minx;
    gy0 = miny;
    const double side = std::max(w, h);
    cell = side > 0 ? std::max(std::sqrt(std::max(w, side / 1024) * std::max(h, side / 1024) / double(boxed)),
                               side / 4096)
                    : 1;
    nx = int(std::min(w / cell, 4096.0)) + 1;
    ny = int(std::min(h / cell, 4096.0)) + 1;

    auto cellRange = [&](const Box& b, int& i0, int& i1, int& j0, int& j1) {
        i0 = cellIndex(b.minx - gx0, nx), i1 = cellIndex(b.maxx - gx0, nx);
        j0 = cellIndex(b.miny - gy0, ny), j1 = cellIndex(b.maxy - gy0, ny);
    };
    start.assign(size_t(nx) * size_t(ny) + 1, 0);
    std::vector<uint8_t> filed(size_t(n), 0);
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i < n; ++i) {
            if (state[size_t(i)] != Boxed)
                continue;
            int i0, i1, j0, j1;
            cellRange(boxes[size_t(i)], i0, i1, j0, j1);
            if (pass == 0) {
                if (double(i1 - i0 + 1) * double(j1 - j0 + 1) > kMaxCells) {
                    large.push_back(i);
                    continue;
                }
                filed[size_t(i)] = 1;
            } else if (!filed[size_t(i)]) {
                continue;
            }
            for (int j = j0; j <= j1; ++j)
                for (int k = i0; k <= i1; ++k) {
                    const size_t c = size_t(j) * size_t(nx) + size_t(k);
                    if (pass == 0)
                        ++start[c + 1];
                    else
                        items[size_t(start[c]++)] = i;  // objects in order: each cell ascending
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
    auto take = [&](int i) {
        if (seen[size_t(i)] == query)
            return;
        seen[size_t(i)] = query;
        const Box& b = boxes[size_t(i)];
        if (b.minx <= q.maxx && b.maxx >= q.minx && b.miny <= q.maxy && b.maxy >= q.miny)
            found.push_back(i);
    };
    if (nx > 0) {  // objects beyond the grid lie in its border cells: the range is clamped
        const int i0 = cellIndex(q.minx - gx0, nx), i1 = cellIndex(q.maxx - gx0, nx);
        const int j0 = cellIndex(q.miny - gy0, ny), j1 = cellIndex(q.maxy - gy0, ny);
        if (double(i1 - i0 + 1) * double(j1 - j0 + 1) > double(items.size())) {
            // The box covers most of the grid: every filed box once is cheaper.
            for (int i : items)
                take(i);
        } else {
            for (int j = j0; j <= j1; ++j)
                for (int k = i0; k <= i1; ++k) {
                    const size_t c = size_t(j) * size_t(nx) + size_t(k);
                    for (int t = start[c]; t < start[c + 1]; ++t)
                        take(items[size_t(t)]);
                }
        }
    }
    for (int i : large)
        take(i);
    for (int i : always)
        found.push_back(i);
    std::sort(found.begin(), found.end());
    return &found;
}

}  // namespace kerbon
