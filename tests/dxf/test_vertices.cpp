// The packed vertex list gives back exactly the vertices it was built from.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "dxf/model.h"

using kerbon::model::Tmypoi;
using kerbon::model::VertexList;

namespace {

// Every field alike, reals bit for bit (so -0 differs from 0 and a NaN equals itself).
bool sameBits(const Tmypoi& a, const Tmypoi& b)
{
    auto same = [](double u, double v) { return std::memcmp(&u, &v, sizeof u) == 0; };
    return same(a.x, b.x) && same(a.y, b.y) && same(a.z, b.z) && same(a.bulge, b.bulge) &&
           same(a.wid, b.wid) && a.linex == b.linex && a.liney == b.liney &&
           a.linez == b.linez && a.botharrows == b.botharrows && a.mode == b.mode &&
           a.setwid == b.setwid && a.doadddimtexthere == b.doadddimtexthere &&
           a.moveonly == b.moveonly && a.donotdraw == b.donotdraw;
}

Tmypoi at(double x, double y, double z = 0)
{
    Tmypoi v;
    v.x = x, v.y = y, v.z = z;
    return v;
}

std::vector<Tmypoi> circleLike()
{
    std::vector<Tmypoi> v{at(5, 5)};
    v[0].linex = 11, v[0].liney = 13, v[0].donotdraw = true;
    for (int k = 0; k <= 100; ++k) {
        Tmypoi p = at(5 + std::cos(k * 0.0628), 5 + std::sin(k * 0.0628), 2);
        if (k % 25 == 0)
            p.linex = 17, p.mode = 1;
        v.push_back(p);
    }
    return v;
}

std::vector<Tmypoi> everyField()
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::vector<Tmypoi> v;
    for (int f = 0; f < 12; ++f) {
        Tmypoi p = at(f, -f);
        switch (f) {
        case 1: p.z = -0.0; break;  // next to 0: its own run
        case 2: p.z = nan, p.bulge = nan; break;
        case 3: p.bulge = 0.5, p.wid = 1e300; break;
        case 4: p.linex = 2147483647, p.liney = -1, p.linez = 5; break;
        case 5: p.botharrows = 3; break;
        case 6: p.mode = 3; break;
        case 7: p.setwid = true; break;
        case 8: p.doadddimtexthere = true; break;
        case 9: p.moveonly = true; break;
        case 10: p.donotdraw = true; break;
        default: break;
        }
        v.push_back(p);
    }
    return v;
}

}  // namespace

TEST(VertexList, PackedReadsBackEveryVertexBitForBit)
{
    const std::vector<std::vector<Tmypoi>> cases = {
        {at(1, 2, 3)}, circleLike(), everyField(), std::vector<Tmypoi>(7, at(4, 4)),
    };
    for (const std::vector<Tmypoi>& want : cases) {
        SCOPED_TRACE(want.size());
        VertexList list(want);
        list.pack();
        ASSERT_TRUE(list.packed());
        ASSERT_EQ(list.size(), want.size());
        size_t k = 0;
        for (const Tmypoi& v : list)  // in order
            EXPECT_TRUE(sameBits(v, want[k++])) << k - 1;
        for (size_t i = want.size(); i-- > 0;)  // at random
            EXPECT_TRUE(sameBits(list[i], want[i])) << i;
        EXPECT_TRUE(sameBits(list.front(), want.front()));
        EXPECT_TRUE(sameBits(list.back(), want.back()));

        const VertexList copy = list;  // copies keep their own vertices
        list.edit()[0].x = 99;
        EXPECT_EQ(list[0].x, 99);
        EXPECT_TRUE(sameBits(copy[0], want[0]));
        const std::vector<Tmypoi> unpacked = VertexList(copy).edit();
        ASSERT_EQ(unpacked.size(), want.size());
        for (size_t i = 0; i < want.size(); ++i)
            EXPECT_TRUE(sameBits(unpacked[i], want[i])) << i;
    }
}

TEST(VertexList, EqualityIgnoresTheForm)
{
    VertexList open(circleLike()), packed(circleLike());
    packed.pack();
    EXPECT_EQ(open, packed);
    packed.edit().back().y += 1;
    EXPECT_NE(open, packed);
    EXPECT_EQ(VertexList(), VertexList(std::vector<Tmypoi>{}));
    VertexList empty;
    empty.pack();  // nothing to pack
    EXPECT_TRUE(empty.empty());
    EXPECT_FALSE(empty.packed());
}
