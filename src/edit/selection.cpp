// Picking, window selection and the selection commands.
#include "edit/selection.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <string_view>
#include <unordered_map>

#include "dxf/placement.h"
#include "edit/PickIndex.h"
#include "view/tables.h"

namespace kerbon {

namespace {

constexpr int kGripTolerance = 3;          // pixels per axis, grip of an unselected object
constexpr int kSelectedGripTolerance = 5;  // grip of a selected object
constexpr double kSegmentTolerance = 3;    // off the segment (less than), beyond its ends

bool takesPart(const model::tpoly& p, const LayoutFilter& f)
{
    return !p.locked && f.passes(p);
}

int vertexCount(const model::tpoly& p)
{
    return std::clamp(p.anzp, 0, int(p.ps.size()));
}

struct Pixel {
    double x = 0, y = 0;
};

// The rounded pixel of vertex p of an object shown through placement `at` (the identity
// for an object drawn where it is, a block member's through its insert).
Pixel pixelOf(const view::ViewState& v, const model::Tmypoi& p, const Placement& at)
{
    const ScreenPos s = at.isIdentity() ? roundedScreen(v, p.x, p.y)
                                        : roundedScreen(v, at.mapX(p.x, p.y), at.mapY(p.x, p.y));
    return {double(s.x), double(s.y)};
}

// A drawn segment A-B hit by the mouse M.
bool segmentHit(Pixel a, Pixel b, Pixel m)
{
    const double abx = b.x - a.x, aby = b.y - a.y;
    if (abx == 0 && aby == 0)
        return false;
    const double len = std::hypot(abx, aby);
    const double d = std::fabs(abx * (m.y - a.y) - aby * (m.x - a.x)) / len;
    if (d >= kSegmentTolerance)
        return false;
    const double g = len + kSegmentTolerance;
    if (std::hypot(m.x - b.x, m.y - b.y) > g)
        return false;
    return std::hypot(m.x - a.x, m.y - a.y) <= g;
}

// Whether a segment of the object is hit: every drawn vertex after the first drawn one
// ends a segment from the vertex before it; a closed object that is not hit also has its
// closing segment.
bool outlineHit(const model::tpoly& p, const Placement& at, const view::ViewState& v, Pixel m)
{
    const int n = vertexCount(p);
    bool started = false;
    auto it = p.ps.begin();
    model::Tmypoi a;  // the vertex before b
    for (int k = 0; k < n; ++k, ++it) {
        const model::Tmypoi b = *it;
        if (!b.donotdraw) {
            if (started && segmentHit(pixelOf(v, a, at), pixelOf(v, b, at), m))
                return true;
            started = true;
        }
        a = b;
    }
    return p.isclosed && n > 0 &&
           segmentHit(pixelOf(v, p.ps[size_t(n) - 1], at), pixelOf(v, p.ps[0], at), m);
}

struct Window {
    double x1, y1, x2, y2;
    bool inside(Pixel p) const { return p.x >= x1 && p.x <= x2 && p.y >= y1 && p.y <= y2; }
};

Window windowOf(double sx1, double sy1, double sx2, double sy2)
{
    return {std::min(sx1, sx2), std::min(sy1, sy2), std::max(sx1, sx2), std::max(sy1, sy2)};
}

// Whether the window catches the object: a tested vertex (the first drawn one alone,
// every later one that is neither undrawn nor a stroke start together with the vertex
// before it) inside, or for a closed object its last or first vertex.
bool windowHit(const model::tpoly& p, const Placement& at, const view::ViewState& v,
               const Window& w)
{
    const int n = vertexCount(p);
    bool first = true;
    auto it = p.ps.begin();
    model::Tmypoi a;  // the vertex before b
    for (int k = 0; k < n; ++k, ++it) {
        const model::Tmypoi b = *it;
        if (first) {
            if (!b.donotdraw) {
                first = false;
                if (w.inside(pixelOf(v, b, at)))
                    return true;
            }
        } else if (!b.donotdraw && !b.moveonly) {
            if (w.inside(pixelOf(v, b, at)) || w.inside(pixelOf(v, a, at)))
                return true;
        }
        a = b;
    }
    return p.isclosed && n > 0 &&
           (w.inside(pixelOf(v, p.ps[size_t(n) - 1], at)) || w.inside(pixelOf(v, p.ps[0], at)));
}

// Whether the window catches what object i shows: its own outline, or for an insert its
// block's members where the insert places them, every cell of its array.
bool windowCatches(const model::DisplayModel& m, const BlockIndex& blocks, int i,
                   const view::ViewState& v, const Window& w)
{
    return anyPlaced(m, blocks, i, [&](const model::tpoly& q, const Placement& at) {
        return windowHit(q, at, v, w);
    });
}

// Calls f(i) for the objects to visit: the index's candidates, or every object.
template <class F>
void forObjects(const model::DisplayModel& m, const std::vector<int>* candidates, F f)
{
    const int n = std::clamp(m.anzpoly, 0, int(m.polys.size()));
    if (candidates) {
        for (int i : *candidates)
            if (i < n && !f(i))
                return;
    } else {
        for (int i = 0; i < n; ++i)
            if (!f(i))
                return;
    }
}

}  // namespace

ScreenPos roundedScreen(const view::ViewState& v, double x, double y)
{
    // Points beyond the pixel range stay at its ends (held there, not wrapped around).
    const long long row = (long long)(v.H - 1) -
                          view::roundHalfEven(v.zoomedvalue * y / 100 + double(v.scrolly) / 100);
    return {view::roundHalfEven(x * v.zoomedvalue / 100 - double(v.scrollx) / 100),
            int(std::clamp<long long>(row, INT_MIN, INT_MAX))};
}

void markLocked(model::DisplayModel& m)
{
    // The first layer of each trimmed name decides, as the layer lookup finds it.
    std::unordered_map<std::string_view, bool> locked;
    const int nl = std::clamp(m.anzlayer, 0, int(m.layers.size()));
    for (int i = nl - 1; i >= 0; --i)
        locked[view::trimmedLayerName(m.layers[size_t(i)].name)] = (m.layers[size_t(i)].flag & 4) != 0;
    const int n = std::clamp(m.anzpoly, 0, int(m.polys.size()));
    for (int i = 0; i < n; ++i) {
        model::tpoly& p = m.polys[size_t(i)];
        p.locked = false;
        if (p.layerpresent && !p.layer.empty()) {
            const auto it = locked.find(view::trimmedLayerName(p.layer));
            p.locked = it != locked.end() && it->second;
        }
    }
}

PickResult pickAt(model::DisplayModel& m, const LayoutFilter& f, const view::ViewState& v,
                  double X, double Y, bool shift, PickIndex* index)
{
    const std::vector<int>* candidates =
        index ? index->near(v, X, Y, std::max<double>(kSelectedGripTolerance, 2 * kSegmentTolerance))
              : nullptr;
    PickResult r;
    bool hit = false;
    // Grips.
    forObjects(m, candidates, [&](int i) {
        model::tpoly& p = m.polys[size_t(i)];
        if (!takesPart(p, f))
            return true;
        const int tol = p.selected ? kSelectedGripTolerance : kGripTolerance;
        const int n = vertexCount(p);
        auto it = p.ps.begin();
        for (int k = 0; k < n; ++k, ++it) {
            const model::Tmypoi g = *it;
            if (g.linex <= 0)
                continue;
            const ScreenPos s = roundedScreen(v, g.x, g.y);
            if (std::fabs(X - s.x) > tol || std::fabs(Y - s.y) > tol)
                continue;
            const bool was = p.selected;
            p.selected = !shift;
            hit = true;
            if (!shift && was) {
                r.outcome = PickOutcome::GripDrag;
                r.moveobjnr = i;
                r.movepointnr = k;
                r.linesx = g.x;
                r.linesy = g.y;
                return false;
            }
            break;  // the object's other vertices are not looked at
        }
        return true;
    });
    if (r.outcome == PickOutcome::GripDrag)
        return r;
    // Segments: what the object shows, an insert's block where the insert places it.
    BlockIndex own;
    if (!index)
        own.build(m);
    const BlockIndex& blocks = index ? index->blocks() : own;
    const Pixel mouse{X, Y};
    forObjects(m, candidates, [&](int i) {
        model::tpoly& p = m.polys[size_t(i)];
        if (!takesPart(p, f) ||
            !anyPlaced(m, blocks, i, [&](const model::tpoly& q, const Placement& at) {
                return outlineHit(q, at, v, mouse);
            }))
            return true;
        const bool was = p.selected;
        p.selected = !shift;
        hit = true;
        if (!shift && was) {
            r.outcome = PickOutcome::MoveDrag;
            return false;
        }
        return true;
    });
    if (r.outcome == PickOutcome::MoveDrag)
        return r;
    r.outcome = hit ? PickOutcome::SelectionChanged : PickOutcome::NothingHit;
    return r;
}

int MassSelect(model::DisplayModel& m, const LayoutFilter& f, const view::ViewState& v,
               double screenx1, double screeny1, double screenx2, double screeny2, bool shift)
{
    const Window w = windowOf(screenx1, screeny1, screenx2, screeny2);
    BlockIndex blocks;
    blocks.build(m);
    int hits = 0;
    forObjects(m, nullptr, [&](int i) {
        model::tpoly& p = m.polys[size_t(i)];
        if (takesPart(p, f) && windowCatches(m, blocks, i, v, w)) {
            p.selected = !shift;
            ++hits;
        }
        return true;
    });
    return hits;
}

int markMassSelection(model::DisplayModel& m, const LayoutFilter& f, const view::ViewState& v,
                      double screenx1, double screeny1, double screenx2, double screeny2)
{
    const Window w = windowOf(screenx1, screeny1, screenx2, screeny2);
    BlockIndex blocks;
    blocks.build(m);
    int hits = 0;
    forObjects(m, nullptr, [&](int i) {
        model::tpoly& p = m.polys[size_t(i)];
        p.massselected = takesPart(p, f) && windowCatches(m, blocks, i, v, w);
        hits += p.massselected;
        return true;
    });
    return hits;
}

bool IsSelected(const model::DisplayModel& m, const LayoutFilter& f)
{
    const int n = std::clamp(m.anzpoly, 0, int(m.polys.size()));
    for (int i = 0; i < n; ++i) {
        const model::tpoly& p = m.polys[size_t(i)];
        if (p.selected && f.blockTest(p))
            return true;
    }
    return false;
}

void selectAll(model::DisplayModel& m, const LayoutFilter& f)
{
    const int n = std::clamp(m.anzpoly, 0, int(m.polys.size()));
    for (int i = 0; i < n; ++i) {
        model::tpoly& p = m.polys[size_t(i)];
        if (!p.locked && f.layoutTest(p))
            p.selected = true;
    }
}

void selectNone(model::DisplayModel& m)
{
    for (model::tpoly& p : m.polys)
        p.selected = p.massselected = false;
}

}  // namespace kerbon
