// Selection in drawing units.
#include "edit/selection.h"

#include <algorithm>
#include <cmath>

namespace kerbon {

namespace {

bool candidate(const model::tpoly& p, const LayoutFilter& f)
{
    return !p.locked && f.passes(p);
}

// Distance from (x, y) to the segment a-b.
double segmentDistance(double x, double y, const model::Tmypoi& a, const model::Tmypoi& b)
{
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((x - a.x) * dx + (y - a.y) * dy) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(x - (a.x + t * dx), y - (a.y + t * dy));
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
    int hits = 0;
    for (int i = 0; i < m.anzpoly; ++i) {
        model::tpoly& p = m.polys[size_t(i)];
        if (!candidate(p, f))
            continue;
        for (int k = 0; k < p.anzp; ++k) {
            const model::Tmypoi& v = p.ps[size_t(k)];
            if (!v.donotdraw && v.x >= lx && v.x <= hx && v.y >= ly && v.y <= hy) {
                p.selected = true;
                ++hits;
                break;
            }
        }
    }
    return hits;
}

int selectAt(model::DisplayModel& m, const LayoutFilter& f, double x, double y, double tol)
{
    int hits = 0;
    for (int i = 0; i < m.anzpoly; ++i) {
        model::tpoly& p = m.polys[size_t(i)];
        if (!candidate(p, f))
            continue;
        const model::Tmypoi* prev = nullptr;
        bool hit = false;
        for (int k = 0; k < p.anzp && !hit; ++k) {
            const model::Tmypoi& v = p.ps[size_t(k)];
            if (v.donotdraw)
                continue;
            hit = segmentDistance(x, y, prev && !v.moveonly ? *prev : v, v) <= tol;
            prev = &v;
        }
        if (!hit && p.isclosed && p.anzp > 1)
            hit = segmentDistance(x, y, p.ps[size_t(p.anzp - 1)], p.ps[0]) <= tol;
        if (hit) {
            p.selected = true;
            ++hits;
        }
    }
    return hits;
}

}  // namespace kerbon
