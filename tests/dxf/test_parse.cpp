// processdxf: sections, header variables, tables, blocks, layouts and the entity frame.
#include <gtest/gtest.h>

#include "dxf/processdxf.h"
#include "support/ParseFixture.h"

using namespace kerbon;
using kerbon::test::entitiesOnly;
using kerbon::test::parsed;
using kerbon::test::splitLines;

TEST(processdxf, AcceptsCodeLinesWithAnyLeadingBlanks)
{
    const auto m = parsed("  0|SECTION|  2|ENTITIES|0|LINE|8|0| 10|0| 20|0|"
                          " 11|10| 21|0|     0|ENDSEC|  0|EOF");
    ASSERT_EQ(m.anzpoly, 1);
    EXPECT_EQ(m.polys[0].linefrom, 4);
    EXPECT_EQ(m.polys[0].linebis, 15);
    EXPECT_EQ(m.polys[0].layer, "0");
    EXPECT_EQ(m.insertlinepos, 16);
    EXPECT_GE(m.polys.size(), 1000u);
}
