// The nesting search: the fast search against the cell-by-cell oracle for any thread count,
// the masks, the arrangement's properties, the acceptance rule and refused settings.
#include <gtest/gtest.h>

#include <cmath>
#include <thread>

#include "nest_fixture.h"
#include "nest_oracle.h"
#include "nesting/nest_mask.h"
#include "nesting/nest_search.h"

using namespace kerbon;
using namespace kerbon::nest;
using namespace kerbon::nest::test;

namespace {

NestSettings settings(double pw, double ph, double distance, double margin, int pixels, int iterations)
{
    NestSettings s;
    s.pw = pw, s.ph = ph, s.distance = distance, s.seitenrand = margin;
    s.pixbreite = pixels, s.anziterations = iterations;
    return s;
}

std::vector<TFPoint> placed(Schachtelung& n)
{
    std::vector<TFPoint> at;
    for (const TNestElement& e : span(n))
        at.push_back({e.x, e.y});
    return at;
}

}  // namespace

TEST(NestSearch, GivesTheOraclesArrangementForAnyThreadCount)
{
    struct Case {
        const char* name;
        std::vector<TFPointArray> parts;
        NestSettings s;
    };
    std::vector<TFPointArray> odd = mixedParts(9, 8);
    odd.push_back({});                     // a text: no point
    odd.push_back({{3, 4}});               // a point
    odd.push_back(rect(0, 0, 30, 1));      // wider than the sheet
    const Case cases[] = {
        {"no spacing, one word per row", mixedParts(1, 40), settings(30, 40, 0, 0, 50, 5)},
        {"spacing and a fractional margin", mixedParts(2, 40), settings(31, 60, 0.7, 1.5, 130, 4)},
        {"too small a sheet", mixedParts(3, 12), settings(20, 8, 0.3, 0.5, 64, 4)},
        {"no points, one point, too wide", odd, settings(25, 30, 0.2, 1, 77, 4)},
    };
    for (const Case& c : cases) {
        for (unsigned seed : {1u, 2u}) {
            SCOPED_TRACE(testing::Message() << c.name << ", seed " << seed);
            Schachtelung ref;
            fill(ref, c.parts);
            Random r0(seed);
            const SearchResult want = searchOracle(span(ref), c.s, r0);
            ASSERT_EQ(want.problem, NestProblem::None);
            for (int threads : {1, 2, 3}) {
                SCOPED_TRACE(testing::Message() << threads << " threads");
                Schachtelung n;
                fill(n, c.parts);
                const SearchResult got = nestSearch(n, c.s, seed, threads);
                EXPECT_EQ(got.iterations, want.iterations);
                EXPECT_EQ(got.over, want.over);
                EXPECT_EQ(got.usedHeight, want.usedHeight);
                EXPECT_EQ(got.usedWidth, want.usedWidth);
                EXPECT_EQ(placed(n), placed(ref));
            }
        }
    }
}

TEST(NestSearch, PartsLandInsideTheMarginAndKeepTheirSpacing)
{
    std::vector<TFPointArray> parts;
    for (int i = 0; i < 12; ++i)
        parts.push_back(rect(i * 7.0, -i * 3.0, 2 + i % 4, 1.5 + i % 3));
    for (unsigned seed : {1u, 2u, 3u}) {
        SCOPED_TRACE(seed);
        const NestSettings s = settings(20, 30, 0.8, 0.5, 200, 3);
        Schachtelung n;
        fill(n, parts);
        const SearchResult res = nestSearch(n, s, seed, 2);
        ASSERT_FALSE(res.over);
        const double px = s.pw / s.pixbreite;
        const auto els = span(n);
        for (size_t a = 0; a < els.size(); ++a) {
            const TNestElement& e = els[a];
            EXPECT_GE(e.x, s.seitenrand);
            EXPECT_GE(e.y, s.seitenrand);
            EXPECT_LE(e.x + e.w, s.pw - s.seitenrand);
            EXPECT_LE(e.y + e.h, s.ph - s.seitenrand);
            for (size_t b = a + 1; b < els.size(); ++b) {
                const TNestElement& f = els[b];
                const double gapx = std::max(f.x - (e.x + e.w), e.x - (f.x + f.w));
                const double gapy = std::max(f.y - (e.y + e.h), e.y - (f.y + f.h));
                EXPECT_GE(std::max(gapx, gapy), s.distance - 2 * px) << a << " and " << b;
            }
        }
    }
}

TEST(NestSearch, OverflowCountsTheTopMarginAfterTheShift)
{
    // Sheet 10 x 10 with margin 1 leaves 8 units of height: 8.5 does not fit, although the
    // part starts at the bottom row of the raster and so stays below the sheet height minus
    // the margin before the shift.
    struct Case {
        double h;
        bool over;
    };
    for (const Case c : {Case{8.5, true}, Case{7.9, false}}) {
        SCOPED_TRACE(c.h);
        Schachtelung n;
        fill(n, {rect(5, 5, 3, c.h)});
        const SearchResult res = nestSearch(n, settings(10, 10, 0.1, 1, 100, 2), 1, 1);
        EXPECT_EQ(res.over, c.over);
        // A single part that fits the width lands at the margin, fractional margins included.
        EXPECT_EQ(placed(n), (std::vector<TFPoint>{{1, 1}}));
    }
    Schachtelung n;
    fill(n, {rect(0, 0, 2, 2), rect(0, 0, 9, 1)});  // wider than the sheet within its margin
    EXPECT_TRUE(nestSearch(n, settings(10, 50, 0, 1, 100, 1), 1, 1).over);
}

TEST(NestSearch, EqualHeightsKeepTheFirstArrangement)
{
    // Equal squares give arrangements of equal height in every order: the search keeps the
    // first one, which a single iteration from the same seed finds.
    std::vector<TFPointArray> squares;
    for (int i = 0; i < 7; ++i)
        squares.push_back(rect(i * 10.0, 0, 3, 3));
    Schachtelung one, many;
    fill(one, squares);
    fill(many, squares);
    nestSearch(one, settings(12, 20, 0.5, 0, 60, 1), 5, 1);
    nestSearch(many, settings(12, 20, 0.5, 0, 60, 9), 5, 2);
    EXPECT_EQ(placed(many), placed(one));
}

TEST(NestSearch, PartsWithoutPointsNeitherCrashNorTakeRoom)
{
    Schachtelung n;
    fill(n, {{}, rect(0, 0, 4, 4), {}, rect(0, 0, 4, 4)});
    const SearchResult res = nestSearch(n, settings(9.5, 5, 0, 0, 95, 3), 3, 2);
    // Two squares side by side fit only when the empty elements occupy nothing.
    EXPECT_FALSE(res.over);
    EXPECT_EQ(res.usedHeight, 4);
    const NestMask m = buildMask(span(n)[0], rasterGeometry(settings(9.5, 5, 0, 0, 95, 3)));
    EXPECT_EQ(m.cols * m.rows, 0);
}

TEST(NestSearch, RefusesSettingsThatCannotWorkAndLeavesTheElements)
{
    const double inf = INFINITY, nan = NAN;
    struct Case {
        NestSettings s;
        NestProblem want;
    };
    const Case cases[] = {
        {settings(0, 10, 0, 0, 200, 5), NestProblem::SheetWidth},
        {settings(-5, 10, 0, 0, 200, 5), NestProblem::SheetWidth},
        {settings(nan, 10, 0, 0, 200, 5), NestProblem::SheetWidth},
        {settings(inf, 10, 0, 0, 200, 5), NestProblem::SheetWidth},
        {settings(1e-320, 10, 0, 0, 200, 5), NestProblem::RasterSize},
        {settings(10, 0, 0, 0, 200, 5), NestProblem::SheetHeight},
        {settings(10, -inf, 0, 0, 200, 5), NestProblem::SheetHeight},
        {settings(10, 10, -0.1, 0, 200, 5), NestProblem::Spacing},
        {settings(10, 10, 10, 0, 200, 5), NestProblem::Spacing},
        {settings(10, 10, nan, 0, 200, 5), NestProblem::Spacing},
        {settings(10, 10, 0, -1, 200, 5), NestProblem::Margin},
        {settings(10, 10, 0, 5, 200, 5), NestProblem::Margin},
        {settings(10, 100, 0, inf, 200, 5), NestProblem::Margin},
        {settings(10, 10, 0, 0, 19, 5), NestProblem::Pixels},
        {settings(10, 10, 0, 0, 1001, 5), NestProblem::Pixels},
        {settings(10, 10, 0, 0, 200, 0), NestProblem::Iterations},
        {settings(1000, 1, 0, 0, 20, 5), NestProblem::RasterHeight},
        {settings(1, 1e7, 0, 0, 200, 5), NestProblem::RasterSize},
        {settings(1, 1e300, 0, 0, 200, 5), NestProblem::RasterSize},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.s.pw << " x " << c.s.ph << ", spacing " << c.s.distance
                                        << ", margin " << c.s.seitenrand << ", " << c.s.pixbreite
                                        << " px");
        EXPECT_EQ(checkSettings(c.s), c.want);
        Schachtelung n;
        fill(n, {rect(3, 4, 1, 1)});
        const SearchResult res = nestSearch(n, c.s, 1, 2);
        EXPECT_EQ(res.problem, c.want);
        EXPECT_EQ(res.iterations, 0);
        EXPECT_EQ(placed(n), (std::vector<TFPoint>{{3, 4}}));
    }
}

TEST(NestSearch, CancelKeepsTheBestOfTheIterationsAcceptedSoFar)
{
    const std::vector<TFPointArray> parts = mixedParts(4, 30);
    const NestSettings s = settings(40, 60, 0.2, 0.5, 160, 100000);
    {
        // Cancelled before it starts: nothing accepted, nothing moved.
        Schachtelung n;
        fill(n, parts);
        const std::vector<TFPoint> before = placed(n);
        SearchProgress progress;
        progress.cancel = true;
        const SearchResult res = nestSearch(n, s, 1, 2, &progress);
        EXPECT_EQ(res.iterations, 0);
        EXPECT_TRUE(res.cancelled);
        EXPECT_EQ(placed(n), before);
    }
    Schachtelung n;
    fill(n, parts);
    SearchProgress progress;
    SearchResult res;
    std::thread search([&] { res = nestSearch(n, s, 7, 2, &progress); });
    while (progress.accepted.load() < 2)
        std::this_thread::yield();
    progress.cancel = true;
    search.join();
    EXPECT_TRUE(res.cancelled);
    ASSERT_GE(res.iterations, 2);
    // The same as a search asked for just the iterations that were accepted.
    Schachtelung ref;
    fill(ref, parts);
    NestSettings fewer = s;
    fewer.anziterations = res.iterations;
    const SearchResult want = nestSearch(ref, fewer, 7, 1);
    EXPECT_EQ(res.usedHeight, want.usedHeight);
    EXPECT_EQ(placed(n), placed(ref));
}

TEST(NestMask, FillsTheContourAndStrokesItAsWideAsTheSpacing)
{
    // A 2 x 1 rectangle at 10 pixels per unit: spacing 0 gives a one-pixel stroke, spacing
    // 0.25 a three-pixel one (K = trunc(2.5) + 1), which widens the mask by 2K on each side.
    for (const auto& [spacing, K] : {std::pair{0.0, 1}, std::pair{0.25, 3}}) {
        SCOPED_TRACE(spacing);
        Schachtelung n;
        fill(n, {rect(7, 3, 2, 1)});
        const RasterGeometry g = rasterGeometry(settings(10, 10, spacing, 0, 100, 1));
        ASSERT_EQ(g.K, K);
        const NestMask m = buildMask(span(n)[0], g);
        EXPECT_EQ(m.cols, 20 + 4 * K + 1);
        EXPECT_EQ(m.rows, 10 + 4 * K + 1);
        // The contour runs from pixel K to K + 20 across, K to K + 10 up.
        EXPECT_TRUE(m.cell(K + 5, K + 10));         // inside
        EXPECT_TRUE(m.cell(K, K));                  // corner
        EXPECT_TRUE(m.cell(K + 10, K + 20));        // opposite corner
        EXPECT_EQ(m.cell(K - K / 2, K + 10), true);  // the stroke reaches K/2 below
        EXPECT_FALSE(m.cell(K - K / 2 - 1, K + 10));
        EXPECT_FALSE(m.cell(K + 10 + K / 2 + 1, K + 10));
    }
    // A point becomes a dot; a part far larger than the sheet keeps only what can reach it.
    Schachtelung n;
    fill(n, {{{2, 2}}, rect(0, 0, 1e9, 1e9)});
    const RasterGeometry g = rasterGeometry(settings(10, 10, 0.25, 0, 100, 1));
    const NestMask dot = buildMask(span(n)[0], g);
    EXPECT_TRUE(dot.cell(3, 3));
    EXPECT_TRUE(dot.cell(3, 4));
    EXPECT_FALSE(dot.cell(3, 5));
    const NestMask big = buildMask(span(n)[1], g);
    EXPECT_EQ(big.cols, g.W + g.K);
    EXPECT_EQ(big.rows, g.H + g.K);
    EXPECT_TRUE(big.cell(50, 50));
}
