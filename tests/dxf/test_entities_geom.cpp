// Geometric entity handlers: LINE family, POLYLINE, SOLID, POINT, ARC, CIRCLE, ELLIPSE, SPLINE.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "test_entities_fixture.h"
#include "dxf/spline.h"

using namespace kerbon;
using kerbon::test::expectAt;
using kerbon::test::finite;
using kerbon::test::Parsed;

namespace {
constexpr double pi = std::numbers::pi;
}

TEST(readLineEntity, VerticesOfTheLineFamily)
{
    struct V { double x, y; };
    struct Case { const char* body; std::vector<V> want; };
    const Case cases[] = {
        {"0|LINE|8|0|10|0|20|0|30|0|11|10|21|0|31|0", {{0, 0}, {10, 0}}},
        {"0|LINE|10|3|20|4", {{3, 4}}},  // no end point: one vertex
        {"0|XLINE|10|0|20|0|11|1|21|0", {{-10000, 0}, {10000, 0}}},
        {"0|XLINE|10|5|20|1|11|0|21|-1", {{5, 10001}, {5, -9999}}},
        {"0|RAY|10|2|20|3|11|0|21|1", {{2, 3}, {2, 10003}}},
        {"0|XLINE|10|7|20|8", {{7, 8}}},  // too few points: kept as read
        {"0|LEADER|10|0|20|0|10|5|20|5|10|9|20|5", {{0, 0}, {5, 5}, {9, 5}}},
        {"0|LWPOLYLINE|90|3|70|0|10|0|20|0|10|4|20|0|10|4|20|3", {{0, 0}, {4, 0}, {4, 3}}},
        {"0|LWPOLYLINE|90|4|70|1|10|0|20|0|10|4|20|0|10|4|20|4|10|0|20|4",
         {{0, 0}, {4, 0}, {4, 4}, {0, 4}, {0, 0}}},  // closed: first vertex repeated
        {"0|LWPOLYLINE|70|33|10|1|20|1|10|2|20|1", {{1, 1}, {2, 1}, {1, 1}}},  // bit 32 closes too
        {"0|LWPOLYLINE|90|2000000000|10|1|20|1|10|2|20|1", {{1, 1}, {2, 1}}},  // count not trusted
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        const Parsed r(c.body);
        const model::tpoly& p = r.only();
        ASSERT_EQ(p.anzp, int(c.want.size()));
        for (size_t i = 0; i < c.want.size(); ++i)
            expectAt(p, int(i), c.want[i].x, c.want[i].y);
        EXPECT_EQ(p.reinx, p.ps[0].x);
        const model::Tmypoi& end = p.isclosed ? p.ps[0] : p.ps[size_t(p.anzp) - 1];
        EXPECT_EQ(p.rausx, end.x);
        EXPECT_EQ(p.rausy, end.y);
    }
}

TEST(readLineEntity, FlagsAndLineReferences)
{
    const Parsed line("0|LINE|8|0|10|0|20|0|30|0|11|10|21|0|31|0");
    const model::tpoly& p = line.only();
    EXPECT_EQ(p.ps[0].linex, line.valueLine("10"));
    EXPECT_EQ(p.ps[0].liney, line.valueLine("20"));
    EXPECT_EQ(p.ps[0].linez, line.valueLine("30"));
    EXPECT_EQ(p.ps[1].linex, line.valueLine("11"));
    EXPECT_EQ(p.ps[1].liney, line.valueLine("21"));
    EXPECT_FALSE(p.xline || p.ray || p.arrowhead || p.isclosed);

    EXPECT_TRUE(Parsed("0|XLINE|10|0|20|0|11|1|21|0").only().xline);
    EXPECT_TRUE(Parsed("0|RAY|10|0|20|0|11|1|21|0").only().ray);
    EXPECT_TRUE(Parsed("0|LEADER|10|0|20|0").only().arrowhead);
    EXPECT_FALSE(Parsed("0|LEADER|71|0|10|0|20|0").only().arrowhead);

    // Widths: codes 40/41 after a vertex apply to the vertices that follow; 43 is constant.
    const Parsed wide("0|LWPOLYLINE|43|0.5|10|0|20|0|40|2|41|3|10|1|20|0|10|2|20|0");
    const model::tpoly& w = wide.only();
    EXPECT_TRUE(w.setwidonce);
    EXPECT_EQ(w.thewid, 0.5);
    EXPECT_FALSE(w.ps[0].setwid);
    EXPECT_TRUE(w.ps[1].setwid);
    EXPECT_EQ(w.ps[1].wid, 3);
    EXPECT_TRUE(w.ps[2].setwid);

    // A LEADER's 40 and 41 are its annotation's height and width, no line widths.
    const Parsed leader("0|LEADER|40|100|41|250|10|0|20|0|10|5|20|5");
    for (const model::Tmypoi& v : leader.only().ps)
        EXPECT_FALSE(v.setwid);
}

TEST(polylineEnd, BulgesBecomeFiftyArcPoints)
{
    // Half circle from (0,0) to (10,0), counter-clockwise: below the x axis.
    const Parsed half("0|LWPOLYLINE|70|0|10|0|20|0|42|1|10|10|20|0");
    const model::tpoly& p = half.only();
    ASSERT_EQ(p.anzp, 52);
    expectAt(p, 0, 0, 0);
    expectAt(p, 1, 0, 0);
    expectAt(p, 50, 10, 0);
    expectAt(p, 51, 10, 0);
    EXPECT_EQ(p.ps[51].linex, half.valueLine("10", 1));  // the end vertex moved, unchanged
    ASSERT_EQ(p.anzs, 1);
    EXPECT_NEAR(p.snap[0].x, 5, 1e-12);
    EXPECT_NEAR(p.snap[0].y, 0, 1e-12);
    for (int i = 1; i <= 50; ++i) {
        const model::Tmypoi& v = p.ps[size_t(i)];
        EXPECT_NEAR(std::hypot(v.x - 5, v.y), 5, 1e-9);
        EXPECT_LE(v.y, 1e-9);
        EXPECT_EQ(v.linex, 0);
    }
    expectAt(p, 25, 5 - 5 * std::cos(24 * pi / 49), -5 * std::sin(24 * pi / 49));

    // Negative bulge: clockwise, above. A quarter bulge (tan 22.5 degrees) gives a
    // quarter circle.
    struct Case { const char* body; double sweep; double midY; };
    const Case cases[] = {
        {"0|LWPOLYLINE|10|0|20|0|42|-1|10|10|20|0", pi, 5},
        {"0|LWPOLYLINE|10|0|20|0|42|0.41421356237309503|10|10|20|0", pi / 2, -(5 * std::sqrt(2.0) - 5)},
        {"0|LWPOLYLINE|10|0|20|0|42|-0.41421356237309503|10|10|20|0", pi / 2, 5 * std::sqrt(2.0) - 5},
        // mirrored: from (0,0) to (-10,0), still below, about the mirrored centre
        {"0|LWPOLYLINE|230|-1|10|0|20|0|42|1|10|10|20|0", pi, -5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        const model::tpoly& q = Parsed(c.body).only();
        ASSERT_EQ(q.anzp, 52);
        const double r = 5 / std::sin(c.sweep / 2);
        const model::Tmypoi& centre = q.snap[0];
        EXPECT_NEAR(std::hypot(q.ps[1].x - centre.x, q.ps[1].y - centre.y), r, 1e-9);
        EXPECT_NEAR(q.ps[25].y + q.ps[26].y, 2 * c.midY, 0.02);  // middle of the arc
    }
}

TEST(polylineEnd, ClosingSegmentsAndSeveralBulges)
{
    // Closed square with a bulge on the closing segment (from the last vertex to the
    // first) and one on the first segment: two arcs, centres in snap from the last
    // segment to the first.
    const Parsed sq("0|LWPOLYLINE|70|1|10|0|20|0|42|1|10|10|20|0|10|10|20|10|10|0|20|10|42|-1");
    const model::tpoly& p = sq.only();
    ASSERT_EQ(p.anzp, 5 + 100);
    ASSERT_EQ(p.anzs, 2);
    EXPECT_NEAR(p.snap[0].x, 0, 1e-12);  // closing segment (0,10) -> (0,0)
    EXPECT_NEAR(p.snap[0].y, 5, 1e-12);
    EXPECT_NEAR(p.snap[1].x, 5, 1e-12);  // first segment
    EXPECT_NEAR(p.snap[1].y, 0, 1e-12);
    expectAt(p, 51, 10, 0);
    expectAt(p, 52, 10, 10);
    expectAt(p, 53, 0, 10);
    expectAt(p, 104, 0, 0);
    EXPECT_EQ(p.rausx, p.reinx);
    EXPECT_EQ(p.rausy, p.reiny);
    for (int i = 54; i < 104; ++i)
        EXPECT_GE(p.ps[size_t(i)].x, -1e-9);  // bulge -1 runs clockwise: into the square

    // No arc for a zero-length segment, nor NaN for a bulge beyond the arithmetic.
    for (const char* body : {"0|LWPOLYLINE|10|3|20|3|42|1|10|3|20|3",
                             "0|LWPOLYLINE|10|0|20|0|42|1e300|10|1|20|0",
                             "0|LWPOLYLINE|10|0|20|0|42|1e-300|10|1|20|0"}) {
        SCOPED_TRACE(body);
        const model::tpoly& q = Parsed(body).only();
        for (int i = 0; i < q.anzp; ++i)
            EXPECT_TRUE(finite(q.ps[size_t(i)]));
    }
}

TEST(readPolyline, VerticesFromVertexEntitiesUpToSeqend)
{
    const Parsed r("0|POLYLINE|8|A|66|1|10|0|20|0|30|0|70|1|"
                   "0|VERTEX|8|A|10|0|20|0|42|1|"
                   "0|VERTEX|8|A|10|10|20|0|"
                   "0|VERTEX|8|B|10|10|20|10|"
                   "0|SEQEND|8|C|"
                   "0|LINE|10|0|20|0|11|1|21|1");
    ASSERT_EQ(r.m.anzpoly, 2);
    const model::tpoly& p = r.m.polys[0];
    EXPECT_TRUE(p.isclosed);
    ASSERT_EQ(p.anzp, 4 + 50);  // 3 vertices, closing vertex, one bulge
    expectAt(p, 51, 10, 0);
    expectAt(p, 52, 10, 10);
    expectAt(p, 53, 0, 0);
    EXPECT_EQ(p.ps[52].linex, r.valueLine("10", 3));
    EXPECT_EQ(p.layer, "A");  // the POLYLINE's own layer
    EXPECT_EQ(p.linebis, r.valueLine("8", 4));
    EXPECT_EQ(p.code.to, p.linebis);
    EXPECT_EQ(r.m.polys[1].linefrom, p.linebis + 1);
}

// Vertex flags are no polyline flags: 32 marks the vertices of every 3D polyline, and a
// closed polyline's vertices may carry flag 0.
TEST(readPolyline, OnlyThePolylinesOwnFlagsClose)
{
    struct Case { const char* body; bool closed; };
    const Case cases[] = {
        {"0|POLYLINE|70|8|0|VERTEX|70|32|10|0|20|0|0|VERTEX|70|32|10|1|20|0|0|SEQEND", false},
        {"0|POLYLINE|70|1|0|VERTEX|70|0|10|0|20|0|0|VERTEX|70|0|10|1|20|0|0|SEQEND", true},
        {"0|POLYLINE|70|32|0|VERTEX|10|0|20|0|0|SEQEND", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        EXPECT_EQ(Parsed(c.body).only().isclosed, c.closed);
    }
}

// Objects in a plane given by their extrusion direction were drawn as if it were +z: a
// mirrored arc or outline (direction (0,0,-1), as CAM and mirror commands write them) came
// out on the other side of the y axis. Entities whose points are the drawing's own (LINE,
// POINT, 3D POLYLINE) stay as read.
TEST(extrusion, PlanarEntitiesAreShownFromAbove)
{
    struct Case { const char* body; int vertex; double x, y; };
    const Case cases[] = {
        {"0|ARC|10|5|20|0|40|1|50|0|51|90|230|-1", 3, -6, 0},
        {"0|CIRCLE|10|5|20|5|40|2|230|-1", 1, -7, 5},
        {"0|CIRCLE|10|5|20|5|40|2|230|-1", 0, -5, 5},  // centre grip
        {"0|LWPOLYLINE|210|0|220|0|230|-1|10|1|20|2|10|4|20|2", 0, -1, 2},
        {"0|POLYLINE|70|0|230|-1|0|VERTEX|10|1|20|2|0|VERTEX|10|4|20|2|0|SEQEND", 0, -1, 2},
        {"0|POLYLINE|70|8|230|-1|0|VERTEX|10|1|20|2|0|VERTEX|10|4|20|2|0|SEQEND", 0, 1, 2},
        {"0|SOLID|10|0|20|0|11|1|21|0|12|0|22|1|230|-1", 1, -1, 0},
        {"0|LINE|10|1|20|2|11|3|21|4|230|-1", 0, 1, 2},
        {"0|POINT|10|1|20|2|230|-1", 0, 1, 2},
        // a circle standing upright in the x-z plane (direction +y) at y = 3: seen from
        // above a line from x = -2 to 2
        {"0|CIRCLE|10|0|20|0|30|3|40|2|210|0|220|1|230|0", 1, -2, 3},
        {"0|CIRCLE|10|0|20|0|30|3|40|2|210|0|220|1|230|0", 51, 2, 3},
        // a direction of no length is no direction
        {"0|CIRCLE|10|5|20|5|40|2|210|0|220|0|230|0", 1, 7, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        const model::tpoly& p = Parsed(c.body).only();
        expectAt(p, c.vertex, c.x, c.y, 1e-12);
    }
    const model::tpoly& circle = Parsed("0|CIRCLE|10|5|20|5|40|2|230|-1").only();
    EXPECT_EQ(circle.snap[0].x, -5);  // the centre a click snaps to
    EXPECT_EQ(circle.cx, -5);
    EXPECT_EQ(circle.reinx, -5);
}

TEST(readSolid, CornerOrderAndPoints)
{
    const Parsed s("0|SOLID|10|0|20|0|11|1|21|0|12|0|22|1|13|1|23|1|370|25");
    const model::tpoly& p = s.only();
    ASSERT_EQ(p.anzp, 4);
    expectAt(p, 0, 0, 0);
    expectAt(p, 1, 1, 0);
    expectAt(p, 2, 1, 1);
    expectAt(p, 3, 0, 1);
    EXPECT_EQ(p.ps[2].linex, s.valueLine("12"));  // coordinates swap, line references stay
    EXPECT_TRUE(p.issolid && p.isclosed && !p.ispoint);
    EXPECT_FALSE(p.linweightpresent);

    const model::tpoly& pt = Parsed("0|POINT|10|4|20|5|30|6").only();
    ASSERT_EQ(pt.anzp, 1);
    EXPECT_TRUE(pt.ispoint && !pt.issolid && !pt.isclosed);
    EXPECT_EQ(pt.ps[0].z, 6);
}

TEST(readArc, CircleOutlineGripsAndSnap)
{
    const Parsed r("0|CIRCLE|8|0|10|5|20|5|30|1|40|2");
    const model::tpoly& p = r.only();
    ASSERT_EQ(p.anzp, 102);
    EXPECT_TRUE(p.ps[0].donotdraw);
    EXPECT_EQ(p.ps[0].linex, r.valueLine("10"));
    EXPECT_EQ(p.ps[0].liney, r.valueLine("20"));
    EXPECT_EQ(p.ps[0].linez, r.valueLine("30"));
    expectAt(p, 1, 7, 5, 1e-12);
    expectAt(p, 101, 7, 5, 1e-12);
    for (int k = 0; k <= 100; ++k) {
        const model::Tmypoi& v = p.ps[size_t(k) + 1];
        const bool grip = k % 25 == 0;
        EXPECT_EQ(v.linex, grip ? r.valueLine("40") : 0) << k;
        EXPECT_EQ(v.mode, grip ? 1 : 0) << k;
        EXPECT_FALSE(v.donotdraw);
        EXPECT_EQ(v.z, 1);
        // exactly the doubles of the direct computation
        const double w = (0 + (360.0 - 0) * k / 100) * pi / 180;
        EXPECT_EQ(v.x, 5 + 2 * std::cos(w)) << k;
        EXPECT_EQ(v.y, 5 + 2 * std::sin(w)) << k;
    }
    ASSERT_EQ(p.anzs, 1);
    EXPECT_EQ(p.snap[0].x, 5);
    EXPECT_EQ(p.snap[0].y, 5);
    EXPECT_EQ(p.snap[0].z, 1);
    EXPECT_FALSE(p.isclosed);
    EXPECT_EQ(p.reinx, 5);  // start point: the centre grip
    EXPECT_EQ(p.radius, 2);
    EXPECT_EQ(p.radiuslinenr, r.valueLine("40"));
}

TEST(readArc, ArcAnglesGripsAndWrap)
{
    struct Case { const char* body; double from, to; };  // outline angles in degrees
    const Case cases[] = {
        {"0|ARC|10|0|20|0|40|1|50|0|51|90", 0, 90},
        {"0|ARC|10|0|20|0|40|1|50|350|51|10", 350, 370},  // passes through 0
        {"0|ARC|10|0|20|0|40|1|50|45|51|45", 45, 405},    // equal angles: full circle
        {"0|ARC|10|0|20|0|40|1|50|90|51|0", 90, 360},
        // seen from below (mirrored): the arc from 0 to 90 degrees runs from 180 to 90
        {"0|ARC|10|0|20|0|40|1|50|0|51|90|210|0|220|0|230|-1", 180, 90},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        const Parsed r(c.body);
        const model::tpoly& p = r.only();
        ASSERT_EQ(p.anzp, 104);
        for (int g : {1, 2}) {
            EXPECT_EQ(p.ps[size_t(g)].mode, 3);
            EXPECT_TRUE(p.ps[size_t(g)].donotdraw);
        }
        EXPECT_EQ(p.ps[1].linex, r.valueLine("50"));
        EXPECT_EQ(p.ps[2].linex, r.valueLine("51"));
        EXPECT_EQ(p.winkel1linenr, r.valueLine("50"));
        for (int k : {0, 25, 50, 100}) {
            const double w = (c.from + (c.to - c.from) * k / 100) * pi / 180;
            expectAt(p, 3 + k, std::cos(w), std::sin(w), 1e-12);
            EXPECT_EQ(p.ps[size_t(3 + k)].mode, k == 50 ? 1 : 0);
        }
        EXPECT_EQ(p.ps[53].linex, r.valueLine("40"));
    }
}

TEST(readEllipse, GripsOutlineAndMirroring)
{
    struct Case { const char* body; double x25, y25; };  // outline point k = 25
    const Case cases[] = {
        {"0|ELLIPSE|10|1|20|2|30|0|11|2|21|0|31|0|40|0.5", 1, 3},
        {"0|ELLIPSE|10|1|20|2|30|0|11|2|21|0|31|0|40|0.5|230|-1", 1, 1},  // seen from below
        {"0|ELLIPSE|10|1|20|2|11|0|21|2|40|0.5|41|0|42|3.141592653589793", 1 - std::sqrt(0.5), 2 + std::sqrt(2.0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        const Parsed r(c.body);
        const model::tpoly& p = r.only();
        ASSERT_EQ(p.anzp, 104);
        EXPECT_TRUE(p.isellipse);
        EXPECT_EQ(p.radius1, 2);
        EXPECT_EQ(p.radius2, 1);
        EXPECT_TRUE(p.ps[0].donotdraw && p.ps[1].donotdraw && p.ps[2].donotdraw);
        EXPECT_EQ(p.ps[1].linex, r.valueLine("11"));
        EXPECT_EQ(p.ps[1].mode, 0);
        EXPECT_EQ(p.ps[2].mode, 2);
        EXPECT_EQ(p.ps[2].linex, r.valueLine("40"));
        expectAt(p, 28, c.x25, c.y25, 1e-9);
        EXPECT_EQ(p.ps[28].linex, 0);
        EXPECT_EQ(p.anzs, 1);
    }
    const model::tpoly& e = Parsed("0|ELLIPSE|10|0|20|0|11|3|21|4|40|0.5|210|0|220|0|230|1").only();
    EXPECT_EQ(e.radius3, std::atan2(4.0, 3.0));
    EXPECT_FALSE(e.needext210 || e.needext220 || e.needext230);
    EXPECT_TRUE(Parsed("0|ELLIPSE|10|0|20|0|11|3|21|4|40|0.5").only().needext230);
    expectAt(e, 2, -4 * 0.5, 3 * 0.5, 1e-12);  // ratio grip at the parameter 90 degrees
    expectAt(e, 3, 3, 4, 1e-12);
    expectAt(e, 103, 3, 4, 1e-12);
}

TEST(readSpline, ControlPointsSampledWithGrips)
{
    const char* body = "0|SPLINE|70|8|71|3|72|8|73|4|40|0|40|0|40|0|40|0|40|1|40|1|40|1|40|1|"
                       "10|0|20|0|30|0|10|1|20|2|30|0|10|3|20|2|30|0|10|4|20|0|30|0";
    const Parsed r(body);
    const model::tpoly& p = r.only();
    ASSERT_EQ(p.anzp, 104);
    expectAt(p, 0, 0, 0, 0);
    expectAt(p, 99, 4, 0, 0);
    // Bezier of degree 3 at v = 1/2: (1/8)(P0 + 3 P1 + 3 P2 + P3)
    EXPECT_NEAR(p.ps[49].x + p.ps[50].x, 2 * 2, 0.1);
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(p.ps[size_t(i)].linex, 0);
        EXPECT_FALSE(p.ps[size_t(i)].donotdraw);
    }
    for (int g = 0; g < 4; ++g) {
        const model::Tmypoi& v = p.ps[size_t(100 + g)];
        EXPECT_TRUE(v.donotdraw);
        EXPECT_EQ(v.linex, r.valueLine("10", g));
        EXPECT_EQ(v.liney, r.valueLine("20", g));
        EXPECT_EQ(v.linez, r.valueLine("30", g));
    }
    EXPECT_FALSE(p.isclosed);
    EXPECT_TRUE(Parsed("0|SPLINE|70|11|10|0|20|0|10|1|20|1").only().isclosed);

    // A knot count that does not fit is replaced by the generated knots (here the same).
    const model::tpoly& q = Parsed("0|SPLINE|40|0|40|1|10|0|20|0|30|0|10|1|20|2|30|0|10|3|20|2|30|0|10|4|20|0|30|0").only();
    ASSERT_EQ(q.anzp, 104);
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(q.ps[size_t(i)].x, p.ps[size_t(i)].x);
        EXPECT_EQ(q.ps[size_t(i)].y, p.ps[size_t(i)].y);
    }
}

// The knot count was compared with one less than points + degree + 1, so a file's knots
// were never used; and weights were not read. A quarter circle as a rational spline with
// knots that are not the generated ones: every outline point on the circle.
TEST(readSpline, FileKnotsAndWeightsAreUsed)
{
    const std::string quarter = "0|SPLINE|70|12|71|2|72|6|73|3|40|2|40|2|40|2|40|6|40|6|40|6|"
                                "10|5|20|0|30|0|41|1|10|5|20|5|30|0|41|0.7071067811865476|"
                                "10|0|20|5|30|0|41|1";
    const model::tpoly& p = Parsed(quarter).only();
    ASSERT_EQ(p.anzp, 103);
    for (int i = 0; i < 100; ++i)
        EXPECT_NEAR(std::hypot(p.ps[size_t(i)].x, p.ps[size_t(i)].y), 5, 1e-12) << i;
    expectAt(p, 0, 5, 0, 0);
    expectAt(p, 99, 0, 5, 0);

    // An inner knot near the start pulls the curve towards the first points.
    const Parsed r("0|SPLINE|71|3|40|0|40|0|40|0|40|0|40|0.1|40|1|40|1|40|1|40|1|"
                   "10|0|20|0|10|10|20|10|10|20|20|0|10|30|20|10|10|40|20|0");
    const std::vector<double> u = {0, 0, 0, 0, 0.1, 1, 1, 1, 1};
    const std::vector<SplinePoint> P = {{0, 0, 0}, {10, 10, 0}, {20, 0, 0}, {30, 10, 0}, {40, 0, 0}};
    double v = 0;
    for (int i = 0; i < 99; ++i, v += 1.0 / 99) {
        const SplinePoint want = EvalSplinePoint(u, 4, 4, v, P);
        expectAt(r.only(), i, want.x, want.y, 1e-12);
    }
}

// Fewer control points than the order collapsed the curve onto the origin; it now follows
// its points (two points: a straight line).
TEST(readSpline, FewControlPointsAndOddDegrees)
{
    struct Case { const char* body; int points; };
    const Case cases[] = {
        {"0|SPLINE|71|3|10|10|20|10|10|20|20|30", 2},
        {"0|SPLINE|71|3|40|0|40|0|40|0|40|1|40|1|40|1|10|10|20|10|10|20|20|30", 2},
        {"0|SPLINE|71|2000000000|10|10|20|10|10|20|20|30", 2},
        {"0|SPLINE|71|-7|10|10|20|10|10|20|20|30", 2},
        {"0|SPLINE|71|0|10|10|20|10|10|20|20|30", 2},
        {"0|SPLINE|71|3|73|2000000000|10|10|20|10|10|15|20|40|10|20|20|30", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        const model::tpoly& p = Parsed(c.body).only();
        ASSERT_EQ(p.anzp, 100 + c.points);
        expectAt(p, 99, 20, 30, 0);
        for (int i = 0; i < 100; ++i) {
            const model::Tmypoi& v = p.ps[size_t(i)];
            EXPECT_TRUE(finite(v));
            EXPECT_GE(v.x, 10);
            EXPECT_GE(v.y, 10);
            if (c.points == 2) {
                EXPECT_NEAR(v.y - 10, 2 * (v.x - 10), 1e-9);
            }
        }
    }
}

TEST(readSpline, FitPointsOnly)
{
    programRandom().seed(5);  // the fit draws from the program's generator
    const Parsed r("0|SPLINE|71|3|74|5|11|0|21|0|31|0|11|10|21|5|31|0|11|20|21|0|31|0|"
                   "11|30|21|-5|31|0|11|40|21|0|31|0");
    const model::tpoly& p = r.only();
    ASSERT_EQ(p.anzp, 100);  // no grips
    expectAt(p, 0, 0, 0, 0);
    expectAt(p, 99, 40, 0, 0);
    // The curve passes close to the fit points: a random search and ten correction passes
    // bring it within a small fraction of the drawing's size, not onto them.
    const double fy[] = {0, 5, 0, -5, 0};
    for (int f = 1; f < 4; ++f) {
        double best = INFINITY;
        for (int i = 0; i + 1 < 100; ++i) {
            const model::Tmypoi &a = p.ps[size_t(i)], &b = p.ps[size_t(i) + 1];
            const double dx = b.x - a.x, dy = b.y - a.y, l2 = dx * dx + dy * dy;
            const double t = l2 > 0 ? std::clamp(((10 * f - a.x) * dx + (fy[f] - a.y) * dy) / l2, 0.0, 1.0) : 0;
            best = std::min(best, std::hypot(a.x + t * dx - 10 * f, a.y + t * dy - fy[f]));
        }
        EXPECT_LT(best, 1.0) << f;
    }
    // One or two fit points, and a spline with neither kind of point.
    EXPECT_EQ(Parsed("0|SPLINE|11|3|21|4").only().anzp, 100);
    expectAt(Parsed("0|SPLINE|11|0|21|0|11|4|21|2").only(), 50, 4 * 50 / 99.0, 2 * 50 / 99.0, 1e-9);
    EXPECT_EQ(Parsed("0|SPLINE|71|3").only().anzp, 0);
}

// A drawing of many splines given by fit points alone opens quickly: the splines share one
// amount of random search, so the later ones are shaped by the correction passes alone and
// no longer depend on the random numbers.
TEST(readSpline, ManyFittedSplinesShareTheSearch)
{
    std::string body = "0|LINE";
    for (int i = 0; i < 200; ++i)
        body += "|0|SPLINE|71|3|11|0|21|0|11|10|21|5|11|20|21|0|11|30|21|-5";
    const auto parse = [&](uint64_t seed) {
        programRandom().seed(seed);
        return Parsed(body);
    };
    const Parsed a = parse(1), b = parse(2);
    ASSERT_EQ(a.m.anzpoly, 201);
    EXPECT_NE(a.m.polys[1].ps, b.m.polys[1].ps) << "the first spline is searched for";
    EXPECT_EQ(a.m.polys[200].ps, b.m.polys[200].ps);
}

TEST(entityHandlers, HostileValuesStayFinite)
{
    const char* bodies[] = {
        "0|CIRCLE|10|1e300|20|-1e300|40|1e300",
        "0|ARC|10|0|20|0|40|1|50|1e300|51|-1e300",
        "0|ARC|10|0|20|0|40|1|50|nan|51|inf",
        "0|ELLIPSE|10|0|20|0|11|0|21|0|40|0",
        "0|ELLIPSE|10|0|20|0|11|1|21|0|40|2|41|1e300|42|-1e300",
        "0|LWPOLYLINE|10|1e300|20|1e300|42|1|10|-1e300|20|-1e300",
        "0|SPLINE|40|0|40|0|40|0|40|0|40|1e300|40|1e300|40|1e300|40|1e300|10|0|20|0|10|1|20|1|10|2|20|0|10|3|20|1",
        "0|SPLINE|10|x|20||30|",
        "0|POLYLINE|0|VERTEX|42|5|0|VERTEX|10|1|0|SEQEND",
        "0|HATCH|91|1|92|1|72|3|10|0|20|0|11|1e308|21|1e308|40|0|50|1e308|51|-1e308",
        "0|HATCH|91|1|92|1|72|3|11|0|21|0|40|nan|50|90|51|45|72|2|40|1e308|50|1|51|1",
        "0|HATCH|91|1|92|1|72|4|94|2147483647|40|1e308|40|-1e308|10|0|20|0|42|0|10|1|20|1|42|1e308|72|4|11|1",
    };
    for (const char* body : bodies) {
        SCOPED_TRACE(body);
        const model::tpoly& p = Parsed(body).only();
        for (int i = 0; i < p.anzp; ++i) {
            const model::Tmypoi& v = p.ps[size_t(i)];
            EXPECT_FALSE(std::isnan(v.x) || std::isnan(v.y) || std::isnan(v.z)) << i;
        }
    }
}

// Arc angle sets are kept between arcs; every arc must still get exactly the doubles of
// the direct computation, also when sets are evicted and when two arcs share one set.
TEST(readArc, OutlineEqualsDirectComputationAcrossManyArcs)
{
    std::string body;
    struct A { double start, end; };
    std::vector<A> arcs;
    for (int i = 0; i < 300; ++i) {
        const A a{double((i * 37) % 360) + (i % 3) * 0.25, double((i * 53 + 11) % 360)};
        arcs.push_back(a);
        if (i)
            body += "|";
        body += "0|ARC|10|" + std::to_string(i) + "|20|1|40|2.5|50|" + std::to_string(a.start) +
                "|51|" + std::to_string(a.end);
    }
    const Parsed r(body);
    ASSERT_EQ(r.m.anzpoly, 300);
    for (int i = 0; i < 300; ++i) {
        const model::tpoly& p = r.m.polys[size_t(i)];
        const double start = arcs[size_t(i)].start;
        double end = arcs[size_t(i)].end;
        if (end <= start)
            end += 360;
        for (int k = 0; k <= 100; k += 7) {
            const double w = (start + (end - start) * k / 100) * pi / 180;
            ASSERT_EQ(p.ps[size_t(3 + k)].x, i + 2.5 * std::cos(w)) << i << " " << k;
            ASSERT_EQ(p.ps[size_t(3 + k)].y, 1 + 2.5 * std::sin(w)) << i << " " << k;
        }
    }
}
