// Take-over of a drawing into nesting elements: what becomes an element, extents, the
// proposed sheet, and inner contours travelling with their part.
#include <gtest/gtest.h>

#include <string>

#include "nest_fixture.h"
#include "nesting/nest_elements.h"
#include "support/ParseFixture.h"

using namespace kerbon;
using namespace kerbon::nest;
using kerbon::test::entitiesOnly;
using kerbon::test::parsed;

namespace {

// A closed LWPOLYLINE through the corners, on layer 0.
std::string lwpoly(std::initializer_list<TFPoint> pts, bool closedFlag = true)
{
    std::string s = "0|LWPOLYLINE|8|0|90|" + std::to_string(pts.size()) + "|70|" +
                    (closedFlag ? "1" : "0");
    for (const TFPoint& p : pts)
        s += "|10|" + std::to_string(p.x) + "|20|" + std::to_string(p.y);
    return s;
}

std::string box(double x0, double y0, double x1, double y1)
{
    return lwpoly({{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}});
}

std::string circle(double x, double y, double r)
{
    return "0|CIRCLE|8|0|10|" + std::to_string(x) + "|20|" + std::to_string(y) + "|40|" +
           std::to_string(r);
}

}  // namespace

TEST(NestElements, TwoRectanglesGiveTheirExtentsAndTheProposedSheet)
{
    const auto m = parsed(entitiesOnly(box(0, 0, 10, 5) + "|" + box(20, 0, 30, 20)));
    Schachtelung n;
    n.Uebernehmen(m, 0, true);
    ASSERT_EQ(n.elemente.count(), 2u);
    const TNestElement& a = n.elemente.recordAt(0);
    const TNestElement& b = n.elemente.recordAt(1);
    EXPECT_EQ(a.w, 10);
    EXPECT_EQ(a.h, 5);
    EXPECT_EQ(b.w, 10);
    EXPECT_EQ(b.h, 20);
    EXPECT_EQ(b.x, 20);
    EXPECT_EQ(b.y, 0);
    EXPECT_EQ(b.x, b.minx);
    const SheetProposal p = n.proposal();
    EXPECT_EQ(p.width, 33);
    EXPECT_EQ(p.height, 22);
    EXPECT_EQ(p.spacing, 0.33);
    EXPECT_EQ(p.margin, 0.33);  // used as shown, not cut to whole units
}

TEST(NestElements, TakesOverOnlyWhatTheTransferMovesAsAWhole)
{
    // A block with a base point of (1, 1) holding a line, inserted at (10, 20); a
    // construction line and a ray far away; a line in paper space.
    const auto m = parsed(
        "0|SECTION|2|BLOCKS|0|BLOCK|8|0|2|B|3|B|70|0|10|1|20|1|0|LINE|8|0|10|1|20|1|11|3|21|2|"
        "0|ENDBLK|0|ENDSEC|0|SECTION|2|ENTITIES|" +
        box(0, 0, 4, 4) + "|0|INSERT|8|0|2|B|10|10|20|20|"
        "0|XLINE|8|0|10|5000|20|0|11|1|21|0|0|RAY|8|0|10|-9000|20|0|11|1|21|0|"
        "0|LINE|8|0|67|1|10|500|20|500|11|600|21|600|0|ENDSEC|0|EOF");
    ASSERT_EQ(m.anzpoly, 6);
    Schachtelung n;
    n.Uebernehmen(m, 0, false);
    ASSERT_EQ(n.elemente.count(), 2u);
    const TNestElement& insert = n.elemente.recordAt(1);
    EXPECT_EQ(insert.objs, (std::vector<int>{2}));
    EXPECT_EQ(insert.ps, (TFPointArray{{10, 20}, {12, 21}}));
    EXPECT_EQ(n.gmaxx, 12);  // the construction lines do not blow the proposed sheet up
    EXPECT_EQ(n.gmaxy, 21);
    EXPECT_EQ(n.proposal().width, 13.2);
}

TEST(NestElements, ExtentCoversEveryPointAndElementsWithoutPointsCountForNothing)
{
    Schachtelung n;
    nest::test::fill(n, {{{100, 100}, {101, 100}, {101, 101}, {90, 80}},  // last point outside
                         {{50, 60}},                                        // a point
                         {}});                                              // nothing drawn
    const TNestElement& open = n.elemente.recordAt(0);
    EXPECT_EQ(open.minx, 90);
    EXPECT_EQ(open.miny, 80);
    EXPECT_EQ(open.w, 11);
    EXPECT_EQ(open.h, 21);
    const TNestElement& point = n.elemente.recordAt(1);
    EXPECT_EQ(point.minx, 50);
    EXPECT_EQ(point.miny, 60);
    EXPECT_EQ(point.w, 0);
    // The empty element does not pull the overall extent to the origin.
    EXPECT_EQ(n.gminx, 50);
    EXPECT_EQ(n.gminy, 60);
    EXPECT_EQ(n.gmaxx, 101);
    EXPECT_EQ(n.gmaxy, 101);
}

TEST(NestElements, InnerContoursTravelWithTheirPartUnlessSeparate)
{
    // 0: a U-shaped plate, open at the top between x = 40 and 60; 1: a hole in it; 2: an
    // engraving text on it; 3: a circle in the U's notch (outside the plate); 4: a line
    // leaving the plate; 5: a part of its own, listed before ... 6: ... a small part lying
    // inside it; 7: a square inside the hole's square 8, both inside plate 0.
    const std::string body =
        lwpoly({{0, 0}, {100, 0}, {100, 50}, {60, 50}, {60, 20}, {40, 20}, {40, 50}, {0, 50}}) +
        "|" + circle(20, 25, 5) + "|0|TEXT|8|0|10|70|20|30|40|3|1|A7|" + circle(50, 40, 5) +
        "|0|LINE|8|0|10|80|20|10|11|120|21|10|" + box(200, 0, 220, 30) + "|" +
        box(205, 5, 210, 10) + "|" + box(82, 32, 84, 34) + "|" + box(80, 30, 90, 45);
    const auto m = parsed(entitiesOnly(body));
    ASSERT_EQ(m.anzpoly, 9);
    Schachtelung n;
    n.Uebernehmen(m, 0, true);
    EXPECT_EQ(nest::test::groups(n),
              (std::vector<std::vector<int>>{{0, 1, 2, 7, 8}, {3}, {4}, {5, 6}}));
    // The element's contour is the plate's outline; the rest is carried along.
    const TNestElement& plate = n.elemente.recordAt(0);
    EXPECT_EQ(plate.w, 100);
    EXPECT_EQ(plate.h, 50);
    EXPECT_EQ(plate.ends.size(), 1u);
    EXPECT_EQ(plate.innerEnds.size(), 4u);

    n.Uebernehmen(m, 0, false);
    EXPECT_EQ(n.elemente.count(), 9u);
    EXPECT_EQ(n.objectCount(), 9);
}
