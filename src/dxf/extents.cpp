// getdimtab0: the extents of the model drawing.
#include "dxf/extents.h"

#include <algorithm>
#include <cmath>

namespace kerbon {

// Whole-number value of a coordinate, halves to even. Coordinates beyond any drawing are
// held at +-1e15, so the bounds stay exact whole numbers that every later conversion to an
// integer can take.
static double wholeUnits(double v)
{
    return std::nearbyint(std::clamp(v, -1e15, 1e15));
}

void getdimtab0(const model::DisplayModel& m, double& minx, double& miny, double& maxx,
                double& maxy)
{
    minx = miny = maxx = maxy = 0;
    bool first = true;
    const bool hasOwner = !m.layouts.empty();
    const int32_t owner = hasOwner ? m.layouts[0].layhan : 0;
    const int n = std::min(m.anzpoly, int(m.polys.size()));
    for (int i = 0; i < n; ++i) {
        const model::tpoly& p = m.polys[size_t(i)];
        if (p.isblock || p.xline || p.ray)
            continue;
        if (hasOwner ? (p.layhan != owner && p.layhan != 0) : p.ispaperspace)
            continue;
        const int anzp = std::min(p.anzp, int(p.ps.size()));
        for (int k = 0; k < anzp; ++k) {
            const model::Tmypoi& v = p.ps[size_t(k)];
            if (!std::isfinite(v.x) || !std::isfinite(v.y))
                continue;  // a point that is nowhere does not widen the drawing
            const double x = wholeUnits(v.x), y = wholeUnits(v.y);
            if (first) {
                minx = maxx = x;
                miny = maxy = y;
                first = false;
                continue;
            }
            maxx = std::max(maxx, x);
            minx = std::min(minx, x);
            maxy = std::max(maxy, y);
            miny = std::min(miny, y);
        }
    }
}

}  // namespace kerbon
