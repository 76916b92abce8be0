// getdimtab0: which objects count and how coordinates become whole numbers.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "dxf/extents.h"

using namespace kerbon;

namespace {

model::tpoly& addPoly(model::DisplayModel& m, std::initializer_list<std::pair<double, double>> pts)
{
    if (m.polys.size() <= size_t(m.anzpoly))
        m.polys.resize(size_t(m.anzpoly) + 10);
    model::tpoly& p = m.polys[size_t(m.anzpoly++)];
    for (auto [x, y] : pts) {
        model::Tmypoi v;
        v.x = x;
        v.y = y;
        p.ps.edit().push_back(v);
    }
    p.anzp = int(p.ps.size());
    return p;
}

struct Box {
    double minx, miny, maxx, maxy;
    bool operator==(const Box&) const = default;
};

Box extentsOf(const model::DisplayModel& m)
{
    Box b{};
    getdimtab0(m, b.minx, b.miny, b.maxx, b.maxy);
    return b;
}

}  // namespace

TEST(getdimtab0, EmptyOrOnlyInfiniteLinesGiveZero)
{
    model::DisplayModel m;
    EXPECT_EQ(extentsOf(m), (Box{0, 0, 0, 0}));
    addPoly(m, {{-10000, 5}, {10000, 5}}).xline = true;
    addPoly(m, {{3, 3}, {10003, 3}}).ray = true;
    addPoly(m, {{50, 50}, {60, 70}}).isblock = true;
    EXPECT_EQ(extentsOf(m), (Box{0, 0, 0, 0}));
}

TEST(getdimtab0, RoundsHalvesToEvenAndWidensFromTheFirstPoint)
{
    model::DisplayModel m;
    addPoly(m, {{2.5, -3.5}, {3.5, 7.4}});
    // 2.5 -> 2, 3.5 -> 4, -3.5 -> -4; the first point alone sets all four bounds
    EXPECT_EQ(extentsOf(m), (Box{2, -4, 4, 7}));

    model::DisplayModel far;
    addPoly(far, {{10, 10}, {12, 11}});
    EXPECT_EQ(extentsOf(far), (Box{10, 10, 12, 11}));  // 0 is not part of the box
}

TEST(getdimtab0, CircleAsParsedIncludesItsCentreGrip)
{
    model::DisplayModel m;
    model::tpoly& p = addPoly(m, {{10.4, 0}});
    for (int k = 0; k <= 100; ++k) {
        const double a = 2 * M_PI * k / 100;
        model::Tmypoi v;
        v.x = 10.4 + 5 * std::cos(a);
        v.y = 5 * std::sin(a);
        p.ps.edit().push_back(v);
    }
    p.anzp = int(p.ps.size());
    EXPECT_EQ(extentsOf(m), (Box{5, -5, 15, 5}));
}

TEST(getdimtab0, PaperSpaceAndOwnerRules)
{
    // Without layouts: paper-space objects do not count.
    model::DisplayModel m;
    addPoly(m, {{1, 1}});
    addPoly(m, {{100, 100}}).ispaperspace = true;
    EXPECT_EQ(extentsOf(m), (Box{1, 1, 1, 1}));

    // With layouts: the owner of the first layout or no owner counts, whatever code 67 says.
    m.layouts.resize(2);
    m.layouts[0].layhan = 0x1F;
    m.layouts[1].layhan = 0x22;
    m.polys[1].layhan = 0x1F;
    addPoly(m, {{-7, -7}}).layhan = 0x22;
    EXPECT_EQ(extentsOf(m), (Box{1, 1, 100, 100}));
}

TEST(getdimtab0, HugeAndNonFiniteCoordinatesStayDefined)
{
    model::DisplayModel m;
    const double inf = std::numeric_limits<double>::infinity();
    addPoly(m, {{1e300, -1e300}, {std::nan(""), 4}, {inf, 4}, {3, 4}});
    EXPECT_EQ(extentsOf(m), (Box{3, -1e15, 1e15, 4}));
}

TEST(getdimtab0, ReadsOnlyTheValidEntries)
{
    model::DisplayModel m;
    addPoly(m, {{1, 2}});
    addPoly(m, {{500, 500}});
    m.anzpoly = 1;                 // the second record is spare capacity
    m.polys[0].ps.edit().push_back({});   // beyond anzp: not a vertex
    m.polys[0].ps.edit().back().x = -900;
    EXPECT_EQ(extentsOf(m), (Box{1, 2, 1, 2}));
}
