// The circle through three points, the tangent-arc angle of the polyline tool and the
// dimension line.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "edit/constructions.h"

using namespace kerbon;

TEST(ArcDurch3Punkte, CentreRadiusAndTheArcOrientation)
{
    constexpr double pi = std::numbers::pi;
    struct Case {
        double x1, y1, x2, y2, x3, y3;
        double mx, my, r, w1, w2;
    };
    const Case cases[] = {
        {0, 0, 1, 1, 2, 0, 1, 0, 1, 0, pi},   // clockwise: from (2, 0) over (1, 1) to (0, 0)
        {0, 0, 1, -1, 2, 0, 1, 0, 1, pi, 0},  // counter-clockwise
        {0, 0, 0, 2, 2, 2, 1, 1, std::sqrt(2.0), pi / 4, -3 * pi / 4},  // over (0, 2)
    };
    for (const Case& c : cases) {
        ArcDurch3 a;
        ASSERT_TRUE(ArcDurch3Punkte(c.x1, c.y1, c.x2, c.y2, c.x3, c.y3, a));
        EXPECT_NEAR(a.arcmx, c.mx, 1e-12);
        EXPECT_NEAR(a.arcmy, c.my, 1e-12);
        EXPECT_NEAR(a.arcradius, c.r, 1e-12);
        EXPECT_NEAR(a.arcwinkel1, c.w1, 1e-12);
        EXPECT_NEAR(a.arcwinkel2, c.w2, 1e-12);
    }
}

TEST(ArcDurch3Punkte, NoCircleThroughCollinearOrCoincidentPoints)
{
    const double nan = std::nan("");
    const double pts[][6] = {{0, 0, 1, 1, 2, 2},    {0, 0, 0, 0, 1, 1}, {3, 3, 3, 3, 3, 3},
                             {0, 0, 1, 1, 0, 0},    {nan, 0, 1, 1, 2, 0},
                             {0, 0, 1e-5, 1e-5, 2e-5, 0}};  // |det| below 1e-8
    for (const auto& p : pts) {
        ArcDurch3 a;
        a.arcradius = a.arcwinkel1 = 5;
        EXPECT_FALSE(ArcDurch3Punkte(p[0], p[1], p[2], p[3], p[4], p[5], a));
        EXPECT_EQ(a.arcradius, 0);
        EXPECT_EQ(a.arcwinkel1, 0);
    }
}

TEST(tangentArcAngle, AQuarterTurnOnScreenIsAHalfCircle)
{
    // Drawn to the right, then the mouse straight below the last vertex (screen y down).
    const double theta = tangentArcAngle(1, 0, 100, 100, 100, 150);
    EXPECT_NEAR(theta, std::numbers::pi / 2, 1e-12);
    EXPECT_NEAR(theta / (std::numbers::pi / 2), 1, 1e-12);
    EXPECT_EQ(tangentArcAngle(1, 0, 100, 100, 200, 100.05), 0);  // below 0.001: straight
    EXPECT_NEAR(tangentArcAngle(-1, 0, 0, 0, 1, 0.0001), -std::numbers::pi + 0.0001, 1e-9);
}

TEST(dimensionLine, RunsParallelThroughTheClickedPoint)
{
    DimensionLine d;
    ASSERT_TRUE(dimensionLine(0, 0, 10, 0, 5, 3, d));
    EXPECT_EQ(d.x4, 0);
    EXPECT_EQ(d.y4, 3);
    EXPECT_EQ(d.x5, 10);
    EXPECT_EQ(d.y5, 3);
    EXPECT_EQ(d.x3, 5);
    EXPECT_EQ(d.y3, 3);
    ASSERT_TRUE(dimensionLine(0, 0, 0, 10, 7, -40, d));  // a vertical one, clicked far off
    EXPECT_NEAR(d.x4, 7, 1e-12);
    EXPECT_NEAR(d.y5, 10, 1e-12);
    EXPECT_FALSE(dimensionLine(2, 2, 2, 2, 5, 5, d));
}
