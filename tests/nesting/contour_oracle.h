// The join passes exactly as the rule reads, comparing every ordered pair of polylines and
// moving vertices at every join: the reference the indexed joinPasses must agree with.
#pragma once

#include <algorithm>
#include <cmath>

#include "nesting/contour_model.h"

namespace kerbon::contour::test {

inline bool nearBox(const Tmypoi& a, const Tmypoi& b, double t)
{
    return std::fabs(a.x - b.x) < t && std::fabs(a.y - b.y) < t && std::fabs(a.z - b.z) < t;
}

// The segment that starts at `from` now starts at `to`, reversed when `backwards`.
inline void moveSegment(Tmypoi& to, const Tmypoi& from, bool backwards)
{
    to.seg = from.seg;
    to.writebulge = from.writebulge;
    to.bulge = backwards ? -from.bulge : from.bulge;
    to.flipseg = from.flipseg != backwards;
}

inline int joinPassesOracle(ContourModel& m, double t, const JoinOptions& opts = {})
{
    auto takesPart = [&](int k) {
        const tpoly& p = m.polys[size_t(k)];
        return p.anzp >= 2 && p.joinable && !p.delpoly;
    };
    auto first = [&](int k) -> const Tmypoi& { return m.polys[size_t(k)].ps[0]; };
    auto last = [&](int k) -> const Tmypoi& {
        return m.polys[size_t(k)].ps[size_t(m.polys[size_t(k)].anzp) - 1];
    };
    // The first polyline other than i, of i's class, whose end (or start) matches q.
    auto firstMatch = [&](int i, const Tmypoi& q, bool atEnd) {
        for (int j = 0; j < m.anzpoly; ++j)
            if (j != i && takesPart(j) && m.polys[size_t(j)].cls == m.polys[size_t(i)].cls &&
                nearBox(q, atEnd ? last(j) : first(j), t))
                return j;
        return -1;
    };
    auto append = [&](int j, int i) {
        tpoly& pi = m.polys[size_t(i)];
        tpoly& pj = m.polys[size_t(j)];
        pj.ps.resize(size_t(pj.anzp));
        moveSegment(pj.ps.back(), pi.ps[0], false);  // the junction keeps j's point
        for (int k = 1; k < pi.anzp; ++k)
            pj.ps.push_back(pi.ps[size_t(k)]);
        pj.anzp = int(pj.ps.size());
        pi.anzp = 0;
        pi.delpoly = true;
    };
    auto reverse = [&](int i) {
        tpoly& p = m.polys[size_t(i)];
        const std::vector<Tmypoi> old(p.ps.begin(), p.ps.begin() + p.anzp);
        const int n = p.anzp;
        for (int k = 0; k < n; ++k) {
            p.ps[size_t(k)] = old[size_t(n - 1 - k)];
            // The segment that ended at a vertex now starts there; the pairs of the open
            // end (such as a width) stay at the open end.
            moveSegment(p.ps[size_t(k)], old[size_t(k + 1 < n ? n - 2 - k : n - 1)], true);
        }
    };
    int joins = 0;
    bool changed = true;
    while (changed) {
        changed = false;
        for (int i = 0; i < m.anzpoly; ++i) {
            if (!takesPart(i))
                continue;
            if (const int j = firstMatch(i, first(i), true); j >= 0) {
                append(j, i);
            } else if (!opts.reverse) {
                continue;
            } else if (const int j = firstMatch(i, last(i), true);
                       j >= 0 && firstMatch(i, last(i), false) < 0) {
                reverse(i);
                append(j, i);
            } else if (const int k = firstMatch(i, first(i), false); k >= 0) {
                reverse(i);
                append(i, k);
            } else {
                continue;
            }
            changed = true;
            ++joins;
        }
    }
    if (opts.close)
        for (int k = 0; k < m.anzpoly; ++k)
            if (takesPart(k) && m.polys[size_t(k)].anzp >= 3 && nearBox(first(k), last(k), t)) {
                m.polys[size_t(k)].closeit = true;
                --m.polys[size_t(k)].anzp;
            }
    return joins;
}

}  // namespace kerbon::contour::test
