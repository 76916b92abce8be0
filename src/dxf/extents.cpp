// getdimtab0: the extents of the model drawing.
#include "dxf/extents.h"

#include <algorithm>
#include <cmath>

#include "dxf/placement.h"

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
    const bool hasOwner = !m.layouts.empty();
    const int32_t owner = hasOwner ? m.layouts[0].layhan : 0;
    BlockIndex blocks;
    blocks.build(m);
    Bounds b;
    const int n = std::min(m.anzpoly, int(m.polys.size()));
    for (int i = 0; i < n; ++i) {
        const model::tpoly& p = m.polys[size_t(i)];
        if (p.isblock || p.xline || p.ray)
            continue;
        if (hasOwner ? (p.layhan != owner && p.layhan != 0) : p.ispaperspace)
            continue;
        b.widen(placedBounds(m, blocks, i));
    }
    // Rounding each point or the bounds gives the same whole numbers.
    if (!b.empty) {
        minx = wholeUnits(b.minx), miny = wholeUnits(b.miny);
        maxx = wholeUnits(b.maxx), maxy = wholeUnits(b.maxy);
    }
}

}  // namespace kerbon
