// The alignment to the reference point and the snap to the nearest drawing point.
#include "edit/snapping.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "edit/PickIndex.h"
#include "edit/selection.h"

namespace kerbon {

namespace {

constexpr double kAlign = 5;  // pixels; a difference of exactly 5 still aligns
constexpr int kBox = 5;       // half the side of the snap box, pixels

}  // namespace

SnapResult SnapPoints(const model::DisplayModel& m, const LayoutFilter& f,
                      const view::ViewState& v, double xx, double yy, double x, double y,
                      bool ctrl, PickIndex* index)
{
    SnapResult r;
    r.x = x;
    r.y = y;
    const double mx = x, my = y;
    if (ctrl)
        return r;

    if (std::fabs(xx - mx) <= kAlign)
        r.x = xx;
    if (std::fabs(yy - my) <= kAlign)
        r.y = yy;
    if (std::fabs(std::fabs(xx - mx) - std::fabs(yy - my)) <= kAlign)
        r.y = yy <= r.y ? yy + std::fabs(xx - r.x) : yy - std::fabs(xx - r.x);

    const std::vector<int>* candidates = index ? index->near(v, mx, my, kBox) : nullptr;
    bool found = false;
    double best = 0;
    ScreenPos at;
    double px = 0, py = 0;  // the drawing point found
    auto consider = [&](double cx, double cy) {
        const ScreenPos s = roundedScreen(v, cx, cy);
        if (std::fabs(s.x - mx) > kBox || std::fabs(s.y - my) > kBox)
            return;
        const double d = std::hypot(s.x - mx, s.y - my);
        if (!found || d < best) {
            found = true;
            best = d;
            at = s;
            px = cx, py = cy;
        }
    };
    // The vertices and then the snap points of an object, placed by `place` (an insert's
    // block members where the insert shows them).
    auto points = [&](const model::tpoly& p, const Placement* place) {
        auto each = [&](const auto& list, int count) {
            auto c = list.begin();
            for (int k = std::clamp(count, 0, int(list.size())); k > 0; --k, ++c) {
                const model::Tmypoi v = *c;
                if (place)
                    consider(place->mapX(v.x, v.y), place->mapY(v.x, v.y));
                else
                    consider(v.x, v.y);
            }
        };
        each(p.ps, p.anzp);
        each(p.snap, p.anzs);
        return false;  // every point is a candidate
    };
    BlockIndex own;
    const BlockIndex* blocks = index ? &index->blocks() : nullptr;
    auto visit = [&](int i) {
        const model::tpoly& p = m.polys[size_t(i)];
        if (!f.passes(p))
            return;
        points(p, nullptr);  // an insert's own point is its insertion point
        if (p.insertstr.empty())
            return;
        if (!blocks) {
            own.build(m);
            blocks = &own;
        }
        anyPlaced(m, *blocks, i, [&](const model::tpoly& q, const Placement& place) { return points(q, &place); });
    };
    const int n = std::clamp(m.anzpoly, 0, int(m.polys.size()));
    if (candidates) {
        for (int i : *candidates)
            if (i < n)
                visit(i);
    } else {
        for (int i = 0; i < n; ++i)
            visit(i);
    }
    if (!found)
        return r;

    r.x = at.x;
    r.y = at.y;
    r.ex = px;
    r.ey = py;
    r.setted = true;
    auto edge = [](int c, int d) {  // held in range for a point at the end of the pixel range
        return int(std::clamp<long long>((long long)c + d, INT_MIN, INT_MAX));
    };
    const int l = edge(at.x, -kBox), t = edge(at.y, -kBox), rt = edge(at.x, kBox), b = edge(at.y, kBox);
    r.marker = {{{l, t, rt, t, 0}, {rt, t, rt, b, 0}, {rt, b, l, b, 0}, {l, b, l, t, 0}}};
    return r;
}

}  // namespace kerbon
