// Spline knots, sampling (against the plain recursion) and control-point fitting.
#include <gtest/gtest.h>

#include <cmath>

#include "dxf/spline.h"

using namespace kerbon;

namespace {

using Pts = std::vector<SplinePoint>;

// The plain sampling rule: v from u[t - 1] in steps of (u[n + 1] - u[t - 1]) / (res - 1),
// each point the full sum of the recursive basis; the last sample is P[n] when the knots
// end clamped, else the point at u[n + 1].
Pts sampleOracle(int n, int t, const Pts& P, int res, const std::vector<double>& u,
                 const std::vector<double>& w = {})
{
    Pts out(static_cast<size_t>(res));
    const double step = (u[size_t(n + 1)] - u[size_t(t - 1)]) / (res - 1);
    double v = u[size_t(t - 1)];
    for (int i = 0; i + 1 < res; ++i) {
        out[size_t(i)] = EvalSplinePoint(u, n, t, v, P, w);
        v = v + step;
    }
    const bool clamped = u[size_t(n + 1)] == u[size_t(n + t)];
    out.back() = clamped ? P[size_t(n)] : EvalSplinePoint(u, n, t, u[size_t(n + 1)], P, w);
    return out;
}

// The fitting rule without shortcuts, on the plain sampling.
Pts fitOracle(const Pts& Q, const std::vector<bool>& fixed, int iterations, Random& rnd)
{
    const int N = int(Q.size()), n = N - 1, t = usableSplineOrder(N, 4), res = N * 100;
    std::vector<double> u;
    BuildSplineKnots(u, n, t);
    auto isFixed = [&](int i) { return i == 0 || i == n || (size_t(i) < fixed.size() && fixed[size_t(i)]); };
    double minx = Q[0].x, maxx = Q[0].x, miny = Q[0].y, maxy = Q[0].y;
    for (auto& q : Q) {
        minx = std::min(minx, q.x), maxx = std::max(maxx, q.x);
        miny = std::min(miny, q.y), maxy = std::max(maxy, q.y);
    }
    const double wx = maxx - minx, wy = maxy - miny;
    Pts P = Q, best = Q;
    double bestErr = 0;
    for (int it = 0; it < iterations; ++it) {
        for (int i = 1; i < n; ++i)
            if (!isFixed(i)) {
                P[size_t(i)].x = Q[size_t(i)].x + double(rnd.below(uint64_t(std::nearbyint(wx * 1000)))) / 500 - wx;
                P[size_t(i)].y = Q[size_t(i)].y + double(rnd.below(uint64_t(std::nearbyint(wy * 1000)))) / 500 - wy;
            }
        const Pts s = sampleOracle(n, t, P, res, u);
        double err = 0;
        for (int q = 1; q < n; ++q) {
            double dmin = INFINITY;
            for (auto& p : s)
                dmin = std::min(dmin, std::hypot(p.x - Q[size_t(q)].x, p.y - Q[size_t(q)].y));
            err += dmin * dmin;
        }
        if (it == 0 || err < bestErr)
            bestErr = err, best = P;
    }
    P = best;
    for (int pass = 0; pass < 10; ++pass) {
        const Pts s = sampleOracle(n, t, P, res, u);
        for (int i = 1; i < n; ++i)
            if (!isFixed(i)) {
                const SplinePoint& c = s[size_t(i * (res - 1) / n)];
                P[size_t(i)].x += Q[size_t(i)].x - c.x;
                P[size_t(i)].y += Q[size_t(i)].y - c.y;
            }
    }
    return P;
}

Pts wave(int count, double step = 0.9)
{
    Pts p;
    for (int i = 0; i < count; ++i)
        p.push_back({i * 10.0, 7 * std::sin(i * step), i * 0.5});
    return p;
}

void expectSame(const Pts& a, const Pts& b)
{
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(a[i].x, b[i].x);
        EXPECT_EQ(a[i].y, b[i].y);
        EXPECT_EQ(a[i].z, b[i].z);
    }
}

double distanceToPolyline(const SplinePoint& q, const Pts& s)
{
    double best = INFINITY;
    for (size_t i = 0; i + 1 < s.size(); ++i) {
        const double dx = s[i + 1].x - s[i].x, dy = s[i + 1].y - s[i].y;
        const double l2 = dx * dx + dy * dy;
        double f = l2 > 0 ? ((q.x - s[i].x) * dx + (q.y - s[i].y) * dy) / l2 : 0;
        f = std::clamp(f, 0.0, 1.0);
        best = std::min(best, std::hypot(s[i].x + f * dx - q.x, s[i].y + f * dy - q.y));
    }
    return best;
}

}  // namespace

TEST(BuildSplineKnots, ClampedUniformVector)
{
    struct Case { int n, t; std::vector<double> want; };
    const Case cases[] = {
        {3, 4, {0, 0, 0, 0, 1, 1, 1, 1}},
        {5, 4, {0, 0, 0, 0, 1, 2, 3, 3, 3, 3}},
        {1, 2, {0, 0, 1, 1}},
        {2, 1, {0, 1, 2, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.n * 10 + c.t);
        std::vector<double> u;
        BuildSplineKnots(u, c.n, c.t);
        EXPECT_EQ(u, c.want);
    }
}

TEST(SampleSpline, GivesExactlyThePlainRecursionsPoints)
{
    // empty knots: generated; weights: a rational curve
    struct Case { int n, t; std::vector<double> knots; int res; std::vector<double> w = {}; };
    const Case cases[] = {
        {3, 4, {0, 0, 0, 0, 1, 1, 1, 1}, 100},
        {3, 4, {0, 0, 0, 0, 1, 1, 1, 1}, 100, {1, 0.5, 2, 1}},
        {6, 4, {0, 0, 0, 0, 0.25, 0.25, 0.7, 1, 1, 1, 1}, 100, {1, 3, 1, 0.2, 1, 1, 7}},
        {4, 3, {0, 0.5, 1, 2, 3, 4.5, 6, 8}, 100, {2, 1, 1, 1, 2}},  // unclamped, rational
        {6, 4, {}, 100},
        {8, 3, {}, 100},
        {5, 2, {}, 37},
        {4, 1, {}, 50},
        {9, 5, {}, 700},
        {6, 4, {0, 0, 0, 0, 0.25, 0.25, 0.7, 1, 1, 1, 1}, 100},   // double inner knot
        {5, 4, {0, 0, 0, 0, 0.5, 0.5, 0.5, 1, 1, 1}, 100},         // triple inner knot
        {4, 3, {0, 0.5, 1, 2, 3, 4.5, 6, 8}, 100},                 // unclamped
        {3, 4, {2, 2, 2, 2, 5, 5, 5, 5}, 100},                     // not starting at 0
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "n " << c.n << " t " << c.t << " res " << c.res);
        std::vector<double> u = c.knots;
        if (u.empty())
            BuildSplineKnots(u, c.n, c.t);
        const Pts P = wave(c.n + 1);
        Pts got;
        SampleSpline(c.n, c.t, P, c.res, u, got, c.w);
        expectSame(got, sampleOracle(c.n, c.t, P, c.res, u, c.w));
    }
}

// Circles and conics stored as splines carry weights; without them the curve missed the
// circle, and a closed periodic spline (knots not clamped) got a spike to its last point.
TEST(SampleSpline, RationalAndPeriodicCurvesAreTrue)
{
    const double h = std::sqrt(0.5);
    Pts s;
    // quarter circle of radius 5: quadratic, weights 1, sqrt(1/2), 1
    SampleSpline(2, 3, Pts{{5, 0, 0}, {5, 5, 0}, {0, 5, 0}}, 100, std::vector<double>{0, 0, 0, 1, 1, 1}, s,
                 std::vector<double>{1, h, 1});
    for (const SplinePoint& p : s)
        EXPECT_NEAR(std::hypot(p.x, p.y), 5, 1e-12);
    EXPECT_NEAR(s[50].x, s[49].y, 1e-12);  // symmetric about 45 degrees

    // weights that are not one positive value per point leave the plain curve
    Pts plain;
    SampleSpline(2, 3, Pts{{5, 0, 0}, {5, 5, 0}, {0, 5, 0}}, 100, std::vector<double>{0, 0, 0, 1, 1, 1}, plain);
    for (const std::vector<double>& w : {std::vector<double>{1, h}, std::vector<double>{1, 0, 1},
                                         std::vector<double>{1, NAN, 1}, std::vector<double>{1, -1, 1}}) {
        SampleSpline(2, 3, Pts{{5, 0, 0}, {5, 5, 0}, {0, 5, 0}}, 100, std::vector<double>{0, 0, 0, 1, 1, 1}, s, w);
        expectSame(s, plain);
    }

    // closed periodic cubic: the first three points repeated at the end, uniform knots
    const Pts Q = {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}};
    Pts P = Q;
    P.insert(P.end(), Q.begin(), Q.begin() + 3);
    std::vector<double> u;
    for (int j = 0; j <= 10; ++j)
        u.push_back(j);
    SampleSpline(6, 4, P, 100, u, s);
    EXPECT_NEAR(s.back().x, s.front().x, 1e-12);
    EXPECT_NEAR(s.back().y, s.front().y, 1e-12);
    EXPECT_NEAR(s.front().x, 50 / 6.0, 1e-12);  // (P0 + 4 P1 + P2) / 6
    EXPECT_NEAR(s.front().y, 10 / 6.0, 1e-12);
}

TEST(SampleSpline, RunsFromFirstToLastControlPoint)
{
    const Pts P = {{1, 2, 3}, {4, 9, 0}, {8, -3, 1}, {12, 5, 2}};
    for (const std::vector<double>& u :
         {std::vector<double>{0, 0, 0, 0, 1, 1, 1, 1}, std::vector<double>{3, 3, 3, 3, 4, 4, 4, 4}}) {
        Pts s;
        SampleSpline(3, 4, P, 100, u, s);
        ASSERT_EQ(s.size(), 100u);
        EXPECT_EQ(s.front().x, 1);
        EXPECT_EQ(s.front().y, 2);
        EXPECT_EQ(s.front().z, 3);
        EXPECT_EQ(s.back().x, 12);
        // the sample before the copied end point lies on the curve close to it
        EXPECT_NEAR(s[98].x, 12, 0.2);
        EXPECT_NEAR(s[98].y, 5, 0.5);
    }
}

// Fewer control points than the order made the knot rule decrease and collapsed the curve
// onto the origin; the curve now takes the highest order its points allow.
TEST(SampleSpline, FewerPointsThanTheOrderStillFollowThePoints)
{
    struct Case { Pts P; int t; };
    const Case cases[] = {
        {{{10, 10, 0}, {20, 30, 0}}, 4},             // two points: a straight line
        {{{10, 10, 0}, {20, 30, 0}, {40, 10, 0}}, 4},  // three: a parabola
        {{{5, 5, 5}}, 4},                              // one point
        {{{10, 10, 0}, {20, 30, 0}}, 1000000},        // absurd order from a file
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.P.size());
        const int n = int(c.P.size()) - 1;
        std::vector<double> u;
        BuildSplineKnots(u, n, c.t);
        Pts s;
        SampleSpline(n, c.t, c.P, 100, u, s);
        ASSERT_EQ(s.size(), 100u);
        EXPECT_EQ(s.front().x, c.P.front().x);
        EXPECT_EQ(s.front().y, c.P.front().y);
        for (const SplinePoint& p : s) {
            EXPECT_GE(p.x, 5);  // never at the origin
            EXPECT_GE(p.y, 5);
        }
        if (c.P.size() == 2) {
            for (const SplinePoint& p : s)  // on the segment: y - 10 = 2 (x - 10)
                EXPECT_NEAR(p.y - 10, 2 * (p.x - 10), 1e-9);
        }
    }
}

TEST(SampleSpline, KnotsThatCannotCarryTheCurveAreReplaced)
{
    const Pts P = wave(5);
    std::vector<double> generated;
    BuildSplineKnots(generated, 4, 4);
    Pts want;
    SampleSpline(4, 4, P, 100, generated, want);
    const std::vector<std::vector<double>> bad = {
        {0, 0, 0, 0, 3, 1, 2, 2, 2},        // decreasing
        {0, 0, 0, 0, 1, 1, 1},              // too few
        {0, 0, 0, 0, NAN, 2, 2, 2, 2},      // not finite
        {1, 1, 1, 1, 1, 1, 1, 1, 1},        // empty domain
    };
    for (const auto& u : bad) {
        EXPECT_FALSE(usableKnots(u, 4, 4));
        Pts got;
        SampleSpline(4, 4, P, 100, u, got);
        expectSame(got, want);
    }
    EXPECT_TRUE(usableKnots(generated, 4, 4));
}

TEST(FitSplineControlPoints, GivesExactlyThePlainRulesResult)
{
    const std::vector<bool> none, middle = {false, false, true};
    struct Case { Pts Q; const std::vector<bool>* fixed; int iterations; };
    const Case cases[] = {
        {wave(3), &none, 40},
        {wave(6), &none, 40},
        {wave(5), &middle, 25},
    };
    for (const Case& c : cases) {
        for (uint64_t seed : {1u, 2u}) {
            SCOPED_TRACE(testing::Message() << c.Q.size() << " seed " << seed);
            Random a(seed), b(seed);
            expectSame(FitSplineControlPoints(c.Q, *c.fixed, c.iterations, a),
                       fitOracle(c.Q, *c.fixed, c.iterations, b));
        }
    }
}

TEST(FitSplineControlPoints, CurvePassesCloseToTheTargets)
{
    for (int count : {3, 4, 7, 12}) {
        SCOPED_TRACE(count);
        const Pts Q = wave(count, 0.3);
        Random rnd(7);
        const Pts P = FitSplineControlPoints(Q, {}, 30, rnd);
        ASSERT_EQ(P.size(), Q.size());
        EXPECT_EQ(P.front().x, Q.front().x);
        EXPECT_EQ(P.back().y, Q.back().y);
        const int n = count - 1, t = usableSplineOrder(count, 4);
        std::vector<double> u;
        BuildSplineKnots(u, n, t);
        Pts s;
        SampleSpline(n, t, P, count * 100, u, s);
        // ten correction passes bring the curve close, not onto the targets
        const double width = Q.back().x - Q.front().x;
        for (const SplinePoint& q : Q)
            EXPECT_LT(distanceToPolyline(q, s), 0.01 * width);
    }
}

TEST(FitSplineControlPoints, FixedEntriesAndFlatBoxesStay)
{
    // Targets on one vertical line: R(0) is 0 and every point keeps its x.
    const Pts vertical = {{3, 0, 0}, {3, 4, 0}, {3, 9, 0}, {3, 15, 0}};
    Random rnd(3);
    for (const SplinePoint& p : FitSplineControlPoints(vertical, {}, 20, rnd))
        EXPECT_NEAR(p.x, 3, 1e-12);

    const Pts Q = wave(6);
    const std::vector<bool> fixed = {false, false, true, false, true};
    const Pts P = FitSplineControlPoints(Q, fixed, 20, rnd);
    for (int i : {0, 2, 4, 5}) {
        EXPECT_EQ(P[size_t(i)].x, Q[size_t(i)].x);
        EXPECT_EQ(P[size_t(i)].y, Q[size_t(i)].y);
    }

    // A box too wide for integer random ranges must not overflow.
    const Pts huge = {{-1e300, 0, 0}, {0, 1e300, 0}, {1e300, 0, 0}};
    EXPECT_EQ(FitSplineControlPoints(huge, {}, 3, rnd).size(), 3u);
    EXPECT_TRUE(FitSplineControlPoints({}, {}, 3, rnd).empty());
}
