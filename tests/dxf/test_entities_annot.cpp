// Annotation and compound entity handlers: TEXT, MTEXT, DIMENSION, HATCH, WIPEOUT,
// INSERT, VIEWPORT.
#include <gtest/gtest.h>

#include <cmath>

#include "test_entities_fixture.h"

using namespace kerbon;
using kerbon::test::expectAt;
using kerbon::test::finite;
using kerbon::test::Parsed;

TEST(readText, TextRotationAndInsertionPoint)
{
    struct Case { const char* body; const char* text; double rotation; bool mtext; };
    const Case cases[] = {
        {"0|TEXT|10|1|20|2|30|0|40|2.5|1|Hallo|50|30", "Hallo", 30, false},
        // chunks as they stand: the blank at the end of a chunk is kept
        {"0|MTEXT|10|1|20|2|3|Hallo |1|Welt", "Hallo Welt", 0, true},
        {"0|TEXT|10|1|20|2|1|  Pos 1 ", "  Pos 1 ", 0, false},
        // column data after the embedded-object marker: not the text's point or direction
        {"0|MTEXT|10|1|20|2|40|2.5|1|x|101|Embedded Object|70|1|10|0|20|1|11|7|21|8|40|99",
         "x", 0, true},
        {"0|MTEXT|10|1|20|2|1|x|11|0|21|1|31|0", "x", 90, true},
        {"0|MTEXT|10|1|20|2|1|x|11|0|21|1|50|45", "x", 45, true},     // 50 after the direction
        {"0|MTEXT|10|1|20|2|1|x|50|45|11|-1|21|0", "x", 180, true},   // direction after 50
        // A TEXT's codes 11/21/31 are its alignment point, no direction.
        {"0|TEXT|10|1|20|2|1|Mitte|50|0|72|1|11|100|21|50|31|0", "Mitte", 0, false},
        // seen from below (mirrored): the point and the angle in the text's own axes
        {"0|TEXT|10|-1|20|2|1|Spiegel|50|30|210|0|220|0|230|-1", "Spiegel", 150, false},
        {"0|MTEXT|10|1|20|2|1|x|50|30|230|-1", "x", 150, true},         // point: the drawing's
        {"0|MTEXT|10|1|20|2|1|x|11|0|21|1|230|-1", "x", 90, true},      // direction: the drawing's
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        const Parsed r(c.body);
        const model::tpoly& p = r.only();
        EXPECT_EQ(p.textstr, c.text);
        EXPECT_NEAR(p.rotation, c.rotation, 1e-12);
        EXPECT_TRUE(p.istext);
        EXPECT_EQ(p.ismtext, c.mtext);
        ASSERT_EQ(p.anzp, 1);
        expectAt(p, 0, 1, 2, 0);
        EXPECT_EQ(p.cx, 1);
        EXPECT_EQ(p.cy, 2);
        EXPECT_EQ(p.ps[0].linex, r.valueLine("10"));
        EXPECT_EQ(p.ps[0].liney, r.valueLine("20"));
        EXPECT_EQ(p.needext230, p.ext230 == 0);
        if (p.radiuslinenr) {
            EXPECT_EQ(p.radius, 2.5);
        }
    }
    const Parsed t("0|TEXT|10|0|20|0|40|3.5|51|15|1|a|210|0|220|0|230|-1");
    EXPECT_EQ(t.only().radius, 3.5);
    EXPECT_EQ(t.only().radiuslinenr, t.valueLine("40"));
    EXPECT_EQ(t.only().oblique, 15);
    EXPECT_EQ(t.only().ext230, -1);
    EXPECT_FALSE(t.only().needext210 || t.only().needext220 || t.only().needext230);
}

TEST(readDimension, MeasuredValueText)
{
    struct Case { const char* value; const char* want; };
    const Case cases[] = {{"25", "25.0000"}, {"12.5", "12.5000"}, {"3.14159", "3.1416"},
                          {"-0.5", "-0.5000"}, {"abc", "abc"}, {"", ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        const std::string body = std::string("0|DIMENSION|70|1|1|<>|42|") + c.value;
        const model::tpoly& p = Parsed(body).only();
        EXPECT_EQ(p.messuaretxt, c.want);
        EXPECT_EQ(p.textstr, "<>");
    }
    // A single blank hides the measurement; trimmed to nothing it showed it.
    EXPECT_EQ(Parsed("0|DIMENSION|70|1|1| |42|25").only().textstr, " ");
}

TEST(readDimension, MeasurementWorkedOutWhereTheFileLeavesItOut)
{
    struct Case { const char* pairs; const char* want; };
    const Case cases[] = {
        // linear between diagonal points: along code 50
        {"70|32|13|0|23|0|14|30|24|40|10|0|20|50", "30.0000"},
        {"70|32|50|90|13|0|23|0|14|30|24|40|10|50|20|0", "40.0000"},
        {"70|33|13|0|23|0|14|30|24|40|10|0|20|50", "50.0000"},  // aligned
        {"70|4|10|1|20|1|15|4|25|5", "5.0000"},                // radius: centre to curve
        {"70|3|10|-3|20|-4|15|3|25|4", "10.0000"},             // diameter: across
        // angles in radians, as code 42 holds them, with all their digits (shown in degrees:
        // four decimals of radians made a right angle 90.0002): three points, on the arc
        // point's side; two lines; the file's own value
        {"70|5|15|0|25|0|13|10|23|0|14|0|24|10|10|5|20|5", "1.5707963267949"},
        {"70|5|15|0|25|0|13|10|23|0|14|0|24|10|10|-5|20|-5", "4.71238898038469"},
        {"70|2|13|0|23|0|14|10|24|0|15|0|25|0|10|0|20|10|16|5|26|5", "1.5707963267949"},
        {"70|5|15|0|25|0|13|10|23|0|14|0|24|10|10|5|20|5|42|0.785398163397448", "0.785398163397448"},
        {"70|2|13|0|23|0|14|10|24|0|15|0|25|5|10|9|20|5|16|5|26|9", ""},  // parallel: none
        {"70|6|13|5|23|5|14|9|24|7", ""},  // ordinate: nothing worked out
        {"70|1|13|0|23|0|14|30|24|40|42|12", "12.0000"},  // the file's value wins
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pairs);
        EXPECT_EQ(Parsed(std::string("0|DIMENSION|1|<>|") + c.pairs).only().messuaretxt, c.want);
    }
}

TEST(readDimension, DrawingByType)
{
    struct V { double x, y; bool moveonly = false, text = false; int arrows = 0; };
    struct Case { const char* body; std::vector<V> want; int textmode; bool arrowhead; double textrotate; };
    const Case cases[] = {
        // linear: extension lines 3 -> F3, 4 -> F4 and the dimension line F3 -> F4
        {"0|DIMENSION|70|32|10|5|20|5|13|0|23|0|14|10|24|0",
         {{0, 0}, {0, 5}, {10, 0, true}, {10, 5}, {0, 5, true}, {10, 5, false, true, 3}}, 0, false, 0},
        // aligned, slanted
        {"0|DIMENSION|70|33|10|0|20|10|13|0|23|0|14|10|24|10",
         {{0, 0}, {-5, 5}, {10, 10, true}, {5, 15}, {-5, 5, true}, {5, 15, false, true, 3}}, 0, false, 0},
        // linear between diagonal points: horizontal without code 50, vertical with 90
        {"0|DIMENSION|70|32|10|0|20|20|13|0|23|0|14|10|24|5",
         {{0, 0}, {0, 20}, {10, 5, true}, {10, 20}, {0, 20, true}, {10, 20, false, true, 3}}, 0, false, 0},
        {"0|DIMENSION|70|32|10|20|20|0|13|0|23|0|14|10|24|5|50|90",
         {{0, 0}, {20, 0}, {10, 5, true}, {20, 5}, {20, 0, true}, {20, 5, false, true, 3}}, 0, false, 0},
        // rotated by 45 degrees: the feet on the line through point 10 in that direction
        {"0|DIMENSION|70|0|10|0|20|0|13|0|23|0|14|2|24|0|50|45",
         {{0, 0}, {0, 0}, {2, 0, true}, {1, 1}, {0, 0, true}, {1, 1, false, true, 3}}, 0, false, 0},
        // aligned with points 3 and 4 coinciding: no direction, both feet at point 10, nothing NaN
        {"0|DIMENSION|70|1|10|5|20|5|13|3|23|3|14|3|24|3",
         {{3, 3}, {5, 5}, {3, 3, true}, {5, 5}, {5, 5, true}, {5, 5, false, true, 3}}, 0, false, 0},
        {"0|DIMENSION|70|4|10|3|20|4|15|0|25|0", {{0, 0}, {3, 4, false, true}}, 2, true, 0},
        {"0|DIMENSION|70|35|10|3|20|4|15|-3|25|-4", {{-3, -4}, {3, 4, false, true, 3}}, 1, false, 0},
        // ordinate, leader mainly vertical / horizontal
        {"0|DIMENSION|70|6|13|10|23|20|14|11|24|5",
         {{10, 20}, {10, 5.8}, {11, 5.4, false, true}, {11, 5}}, 0, false, 90},
        {"0|DIMENSION|70|38|13|10|23|20|14|30|24|21",
         {{10, 20}, {29.2, 20}, {29.6, 21, false, true}, {30, 21}}, 0, false, 0},
        {"0|DIMENSION|70|7|10|3|20|4", {}, 0, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        const model::tpoly& p = Parsed(c.body).only();
        ASSERT_EQ(p.anzp, int(c.want.size()));
        for (size_t i = 0; i < c.want.size(); ++i) {
            SCOPED_TRACE(i);
            const model::Tmypoi& v = p.ps[i];
            EXPECT_NEAR(v.x, c.want[i].x, 1e-9);
            EXPECT_NEAR(v.y, c.want[i].y, 1e-9);
            EXPECT_EQ(v.moveonly, c.want[i].moveonly);
            EXPECT_EQ(v.doadddimtexthere, c.want[i].text);
            EXPECT_EQ(v.botharrows, c.want[i].arrows);
        }
        EXPECT_EQ(p.addtextmode, c.textmode);
        EXPECT_EQ(p.arrowhead, c.arrowhead);
        EXPECT_EQ(p.dimtextrotate, c.textrotate);
    }
}

TEST(readDimension, TextHeightAndArrowSizeFromTheDimensionStyle)
{
    const std::string header =
        "0|SECTION|2|HEADER|9|$DIMTXT|40|3.5|9|$DIMASZ|40|0.5|9|$DIMSCALE|40|10|0|ENDSEC|";
    const std::string styles =
        "0|SECTION|2|TABLES|0|TABLE|2|DIMSTYLE|70|2|"
        "0|DIMSTYLE|105|27|2|ISO|140|2|41|0.25|40|4|0|DIMSTYLE|105|28|2|Half|140|1.8|0|ENDTAB|0|ENDSEC|";
    // The arrowhead size follows the text height's rule, but without any given it stays 0
    // (the renderer's own size).
    struct Case { const char* name; std::string head; const char* style; double want, arrow; };
    const Case cases[] = {
        {"nothing given", "", "", 2.5, 0},
        {"header", header, "", 35, 5},
        {"record named", header + styles, "3|ISO|", 8, 1},
        {"record without scale: the header's", header + styles, "3|Half|", 18, 5},
        {"unknown record: the header's", header + styles, "3|Other|", 35, 5},
        {"record without header", styles, "3|Half|", 1.8, 0},
        {"scale 0 counts as 1", "0|SECTION|2|HEADER|9|$DIMSCALE|40|0|9|$DIMASZ|40|3|0|ENDSEC|", "", 2.5, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const model::DisplayModel m =
            test::parsed(c.head + test::entitiesOnly(std::string("0|DIMENSION|70|0|") + c.style + "13|0|23|0|14|10|24|0"));
        ASSERT_EQ(m.anzpoly, 1);
        EXPECT_DOUBLE_EQ(m.polys[0].dimtextheight, c.want);
        EXPECT_DOUBLE_EQ(m.polys[0].dimarrowsize, c.arrow);
    }
}

TEST(readDimension, ThreePointAngularArcOnTheSideOfTheArcPoint)
{
    const double r = std::sqrt(50.0);
    struct Case { const char* body; double fromDeg, sweepDeg; double startX, startY; };
    const Case cases[] = {
        {"0|DIMENSION|70|37|10|5|20|5|13|10|23|0|14|0|24|10|15|0|25|0", 0, 90, 10, 0},
        {"0|DIMENSION|70|5|10|5|20|5|13|0|23|10|14|10|24|0|15|0|25|0", 90, -90, 0, 10},
        // arc point on the far side: the other 270 degrees from point 4, never more than
        // one turn
        {"0|DIMENSION|70|5|10|-5|20|-5|13|10|23|0|14|0|24|10|15|0|25|0", 90, 270, 0, 10},
        {"0|DIMENSION|70|5|10|-5|20|-5|13|0|23|10|14|10|24|0|15|0|25|0", 360, -270, 10, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        const model::tpoly& p = Parsed(c.body).only();
        ASSERT_EQ(p.anzp, 103);
        EXPECT_EQ(p.addtextmode, 3);
        EXPECT_NEAR(p.radius, r, 1e-12);
        expectAt(p, 0, c.startX, c.startY, 0);
        expectAt(p, 102, c.startY, c.startX, 0);  // the other definition point
        EXPECT_TRUE(p.ps[102].doadddimtexthere);
        EXPECT_FALSE(p.ps[0].doadddimtexthere);
        for (int k : {0, 50, 100}) {
            const double w = (c.fromDeg + c.sweepDeg * k / 100) * std::acos(-1.0) / 180;
            expectAt(p, 1 + k, r * std::cos(w), r * std::sin(w), 1e-9);
        }
    }
}

// The two-line kind (type 2) was read like the three-point kind and drew a full circle
// about the origin. Lines 3 -> 4 and 5 -> 10 meet at the origin here; the arc passes
// through point 6 between the rays that enclose it.
TEST(readDimension, TwoLineAngularArcAboutTheLinesIntersection)
{
    const std::string lines = "0|DIMENSION|70|34|13|2|23|0|14|10|24|0|15|1|25|1|10|6|20|6|";
    struct V { double x, y; };
    struct Case { const char* arcPoint; double radius; V first; double fromDeg, sweepDeg; V last; };
    const Case cases[] = {
        {"16|4|26|1", std::sqrt(17.0), {10, 0}, 0, 45, {6, 6}},     // between both lines
        {"16|-4|26|-1", std::sqrt(17.0), {0, 0}, 180, 45, {0, 0}},  // behind both: from the corner
        {"16|4|26|-3", 5, {10, 0}, 0, -135, {0, 0}},                // line 1 ahead, line 2 behind
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arcPoint);
        const model::tpoly& p = Parsed(lines + c.arcPoint).only();
        ASSERT_EQ(p.anzp, 103);
        EXPECT_EQ(p.addtextmode, 3);
        const double r = c.radius;
        EXPECT_NEAR(p.radius, r, 1e-12);
        expectAt(p, 0, c.first.x, c.first.y, 1e-12);
        for (int k : {0, 50, 100}) {
            const double w = (c.fromDeg + c.sweepDeg * k / 100) * std::acos(-1.0) / 180;
            expectAt(p, 1 + k, r * std::cos(w), r * std::sin(w), 1e-9);
        }
        expectAt(p, 102, c.last.x, c.last.y, 1e-12);
        EXPECT_TRUE(p.ps[102].doadddimtexthere);
    }
    // Parallel lines have no angle and no intersection: nothing undefined is drawn.
    const model::tpoly& q = Parsed("0|DIMENSION|70|2|13|0|23|0|14|10|24|0|15|0|25|5|10|10|20|5|16|3|26|3").only();
    for (int i = 0; i < q.anzp; ++i)
        EXPECT_TRUE(finite(q.ps[size_t(i)])) << i;
}

TEST(readHatch, BoundaryPointsBecomeOneClosedOutline)
{
    struct Case { const char* body; int vertices; int snaps; };
    const Case cases[] = {
        // polyline path: elevation point dropped by 91, seed point skipped, closed
        {"0|HATCH|10|0|20|0|30|0|2|SOLID|70|1|71|0|91|1|92|2|72|0|73|1|93|4|"
         "10|0|20|0|10|10|20|0|10|10|20|10|10|0|20|10|97|0|75|0|76|1|98|1|10|5|20|5", 5, 0},
        // line edges: start and end point of each edge
        {"0|HATCH|91|1|92|1|93|2|72|1|10|0|20|0|11|10|21|0|72|1|10|10|20|0|11|0|21|0", 5, 0},
        // a bulge in the path
        {"0|HATCH|91|1|92|2|72|1|73|1|93|2|10|0|20|0|42|1|10|10|20|0", 53, 1},
        // counts are never trusted for storage
        {"0|HATCH|91|2000000000|92|2|93|2000000000|10|0|20|0|10|1|20|0|98|2000000000", 3, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        const model::tpoly& p = Parsed(c.body).only();
        EXPECT_EQ(p.anzp, c.vertices);
        EXPECT_EQ(p.anzs, c.snaps);
        EXPECT_TRUE(p.issolid && p.patternfill && p.isclosed);
        expectAt(p, 0, 0, 0, 0);
        expectAt(p, p.anzp - 1, 0, 0, 0);
    }
    // An associative hatch names its boundary objects under 330 too; they are not its
    // owner (the hatch vanished from its layout).
    const model::tpoly& a = Parsed("0|HATCH|5|2F|330|1F|8|0|91|1|92|2|93|2|10|0|20|0|10|1|20|0|"
                                   "97|1|330|2E|75|1|98|0").only();
    EXPECT_EQ(a.layhan, 0x1F);
    EXPECT_EQ(a.anzp, 3);
}

// A hatch with holes: each boundary path an outline of its own (no line joined the outer
// square to the hole, and the fill covered the hole).
TEST(readHatch, EveryBoundaryPathIsAFigureOfItsOwn)
{
    const model::tpoly& p = Parsed(
        "0|HATCH|91|3|92|3|72|0|73|1|93|4|10|0|20|0|10|10|20|0|10|10|20|10|10|0|20|10|97|0|"
        "92|18|72|0|73|1|93|3|10|3|20|3|42|1|10|6|20|3|10|6|20|6|97|0|"
        "92|16|93|1|72|2|10|8|20|8|40|1|50|0|51|360|73|1|97|0|75|1|98|0").only();
    EXPECT_TRUE(p.issolid && p.patternfill && p.isclosed);
    // outer 4 + closing, inner 3 + 50 bulge points + closing, circle 101 + closing
    ASSERT_EQ(p.anzp, 5 + 3 + 50 + 1 + 101 + 1);
    std::vector<int> figures;
    for (int i = 0; i < p.anzp; ++i)
        if (p.ps[size_t(i)].moveonly)
            figures.push_back(i);
    EXPECT_EQ(figures, (std::vector<int>{5, 59}));
    expectAt(p, 4, 0, 0, 0);   // each path closed on its own first vertex
    expectAt(p, 5, 3, 3, 0);
    expectAt(p, 58, 3, 3, 0);
    expectAt(p, 59, 9, 8, 0);
    expectAt(p, p.anzp - 1, 9, 8, 0);
}

// Arc, ellipse and spline edges became single points (a centre, the control points): a
// round hatch was a line. Each is flattened into outline points on its curve.
TEST(readHatch, CurvedEdgesBecomeOutlinePoints)
{
    const std::string head = "0|HATCH|5|30|330|1F|10|0|20|0|30|0|91|1|92|1|93|1|";
    struct Case { std::string edges; int vertices; double cx, cy, rx, ry; };
    const Case cases[] = {
        {"72|2|10|5|20|5|40|5|50|0|51|360|73|1", 101 + 1, 5, 5, 5, 5},      // circle
        {"72|3|10|0|20|0|11|0|21|10|40|0.5|50|0|51|360|73|1", 102, 0, 0, 5, 10},  // upright ellipse
        // rational quarter circle, closed by a line edge through the centre
        {"72|4|94|2|73|1|74|0|95|6|96|3|40|0|40|0|40|0|40|1|40|1|40|1|10|5|20|0|42|1|"
         "10|5|20|5|42|0.7071067811865476|10|0|20|5|42|1|97|0|72|1|10|0|20|5|11|0|21|0",
         100 + 2 + 1, 0, 0, 5, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.edges);
        const model::tpoly& p = Parsed(head + c.edges + "|97|1|330|2E|75|1|76|1|98|1|10|9|20|9").only();
        ASSERT_EQ(p.anzp, c.vertices);
        EXPECT_EQ(p.layhan, 0x1F);
        for (int i = 0; i < 100; ++i) {
            const model::Tmypoi& v = p.ps[size_t(i)];
            EXPECT_NEAR(std::hypot((v.x - c.cx) / c.rx, (v.y - c.cy) / c.ry), 1, 1e-12) << i;
        }
    }
    // A clockwise edge stores its angles as 360 - angle: this one runs from 90 to 0 degrees,
    // so the outline goes on from its end point (1, 0) along the next edge.
    const model::tpoly& cw = Parsed(head + "72|2|10|0|20|0|40|1|50|270|51|360|73|0|"
                                           "72|1|10|1|20|0|11|0|21|0|72|1|10|0|20|0|11|0|21|1")
                                 .only();
    ASSERT_EQ(cw.anzp, 101 + 4 + 1);
    expectAt(cw, 0, 0, 1, 1e-12);
    expectAt(cw, 50, std::sqrt(0.5), std::sqrt(0.5), 1e-12);
    expectAt(cw, 100, 1, 0, 1e-12);
    expectAt(cw, 101, 1, 0, 0);
}

TEST(readWipeout, ClipBoundaryMappedThroughTheImageVectors)
{
    const Parsed r("0|WIPEOUT|10|10|20|20|30|0|11|0.5|21|0|31|0|12|0|22|0.5|32|0|"
                   "14|-0.5|24|-0.5|14|1.5|24|1.5");
    const model::tpoly& p = r.only();
    ASSERT_EQ(p.anzp, 2);
    expectAt(p, 0, 10, 20.5, 0);
    expectAt(p, 1, 11, 19.5, 0);
    EXPECT_EQ(p.ps[0].linex, r.valueLine("14"));
    EXPECT_EQ(p.ps[1].liney, r.valueLine("24", 1));
    EXPECT_TRUE(p.iswipeout);
    EXPECT_FALSE(p.isclosed);
}

TEST(readInsert, BlockNameAndInsertionPoint)
{
    const model::tpoly& p =
        Parsed("0|INSERT|2|Block1|10|5|20|6|30|7|41|2|42|3|43|4|50|30|70|3|71|2|44|10|45|20").only();
    EXPECT_EQ(p.insertstr, "Block1");
    ASSERT_EQ(p.anzp, 1);
    expectAt(p, 0, 5, 6, 0);
    EXPECT_EQ(p.ps[0].z, 7);
    EXPECT_EQ(p.ps[0].linex, 0);
    EXPECT_EQ(p.ps[0].liney, 0);
    EXPECT_EQ(p.scalex, 2);
    EXPECT_EQ(p.scaley, 3);
    EXPECT_EQ(p.scalez, 4);
    EXPECT_EQ(p.rotation, 30);
    EXPECT_EQ(p.colcount, 3);
    EXPECT_EQ(p.rowcount, 2);
    EXPECT_EQ(p.colspacing, 10);
    EXPECT_EQ(p.rowspacing, 20);

    const model::tpoly& plain = Parsed("0|INSERT|2|B|10|5|20|6").only();
    EXPECT_EQ(plain.scalex, 1);
    EXPECT_EQ(plain.scaley, 1);
    EXPECT_EQ(plain.colcount, 1);
    EXPECT_EQ(plain.rowcount, 1);
    EXPECT_EQ(plain.ext230, 1);

    // Extrusion (0, 0, -1): the insertion point is given in mirrored axes.
    const model::tpoly& mirrored = Parsed("0|INSERT|2|B|10|5|20|6|30|1|210|0|220|0|230|-1").only();
    expectAt(mirrored, 0, -5, 6, 0);
    EXPECT_EQ(mirrored.ps[0].z, -1);
}

TEST(readViewport, FrameAndGrips)
{
    const Parsed r("0|VIEWPORT|8|0|62|3|6|DASHED|67|1|10|100|20|50|30|0|40|80|41|60|68|1|69|2|"
                   "12|7|22|8|45|33");
    const model::tpoly& p = r.only();
    EXPECT_TRUE(p.isviewport);
    EXPECT_FALSE(p.colorispresent || p.ltnamepresent);
    EXPECT_EQ(p.viewid, 2);
    EXPECT_EQ(p.viewheight, 33);
    EXPECT_EQ(p.panx, 7);
    EXPECT_EQ(p.pany, 8);
    ASSERT_EQ(p.anzp, 8);
    struct V { double x, y; const char* line; bool grip; };
    const V want[] = {{60, 20, "10", false}, {140, 20, "20", false}, {140, 80, "40", false},
                      {60, 80, "41", false}, {60, 20, nullptr, false}, {100, 50, "12", true},
                      {100, 65, "45", true}, {100, 35, "45", true}};
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        expectAt(p, i, want[i].x, want[i].y, 0);
        EXPECT_EQ(p.ps[size_t(i)].linex, want[i].line ? r.valueLine(want[i].line) : 0);
        EXPECT_EQ(p.ps[size_t(i)].donotdraw, want[i].grip);
    }
    EXPECT_EQ(p.ps[5].liney, r.valueLine("22"));
    EXPECT_EQ(r.m.maxviewportid, 2);

    EXPECT_EQ(Parsed("0|VIEWPORT|10|100|20|50|40|80|41|60|69|1").only().anzp, 0);

    // Extended data: the second 1040 is the view height, the third and fourth the centre.
    const Parsed x("0|VIEWPORT|10|0|20|0|40|10|41|10|69|5|1001|ACAD|1000|MVIEW|"
                   "1040|0|1040|99|1040|7|1040|8|1040|55");
    const model::tpoly& q = x.only();
    EXPECT_EQ(q.viewheight, 99);
    EXPECT_EQ(q.panx, 7);
    EXPECT_EQ(q.pany, 8);
    EXPECT_EQ(q.ps[5].linex, x.valueLine("1040", 2));
    EXPECT_EQ(q.ps[5].liney, x.valueLine("1040", 3));
    EXPECT_EQ(q.ps[6].linex, x.valueLine("1040", 1));
    EXPECT_EQ(x.m.maxviewportid, 5);
}
