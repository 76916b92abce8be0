// The join passes exactly as the rule reads, comparing every ordered pair of polylines:
// the reference the indexed joinPasses must agree with.
#pragma once

#include <cmath>

#include "nesting/contour_model.h"

namespace kerbon::contour::test {

inline int joinPassesOracle(ContourModel& m, double t)
{
    int joins = 0;
    bool changed = true;
    while (changed) {
        changed = false;
        for (int i = 0; i < m.anzpoly; ++i) {
            tpoly& pi = m.polys[size_t(i)];
            if (pi.anzp < 2)
                continue;
            for (int j = 0; j < m.anzpoly; ++j) {
                tpoly& pj = m.polys[size_t(j)];
                if (j == i || pj.anzp < 2)
                    continue;
                const Tmypoi& a = pi.ps[0];
                const Tmypoi& b = pj.ps[size_t(pj.anzp) - 1];
                if (std::fabs(a.x - b.x) < t && std::fabs(a.y - b.y) < t &&
                    std::fabs(a.z - b.z) < t) {
                    const int n = pj.anzp + pi.anzp - 1;
                    pj.ps.resize(size_t(pj.anzp));
                    for (int k = 1; k < pi.anzp; ++k)
                        pj.ps.push_back(pi.ps[size_t(k)]);
                    pi.anzp = 0;
                    pi.delpoly = true;
                    pj.anzp = n;
                    changed = true;
                    ++joins;
                    break;
                }
            }
        }
    }
    return joins;
}

}  // namespace kerbon::contour::test
