// Figures cut to the page before they reach the printer: the same picture on the page,
// bounded coordinates, dashes carried on where the cut part starts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "view/ClippedSurface.h"
#include "view/RecordingSurface.h"
#include "view/paint.h"

using namespace kerbon;
using namespace kerbon::view;
using Op = Call::Op;
using Kind = Path::Elem::Kind;

namespace {

using Points = std::vector<std::pair<double, double>>;

Points points(const Path& path)
{
    Points out;
    for (const Path::Elem& e : path.elems)
        if (e.kind != Kind::Close)
            out.push_back({e.x, e.y});
    return out;
}

Path polyline(const Points& pts, bool closed = false)
{
    Path p;
    for (size_t i = 0; i + 1 < pts.size(); ++i)
        p.segment(pts[i].first, pts[i].second, pts[i + 1].first, pts[i + 1].second);
    if (closed)
        p.closeFigure();
    return p;
}

const PixelRect box{0, 0, 100, 50};  // strokes with a 1-pixel pen keep 2.5 pixels around it

}  // namespace

TEST(ClippedSurface, StrokesAreCutToThePageAndFiguresInsideStayAsTheyAre)
{
    struct Case {
        const char* name;
        Points in;
        bool closed;
        std::vector<Points> want;  // the figures passed on, in one stroke
    };
    const Case cases[] = {
        {"inside", {{10, 10}, {90, 40}}, false, {{{10, 10}, {90, 40}}}},
        {"closed inside keeps its close", {{10, 10}, {20, 10}, {20, 20}}, true,
         {{{10, 10}, {20, 10}, {20, 20}}}},
        {"through", {{-1e12, 25}, {1e12, 25}}, false, {{{-2.5, 25}, {102.5, 25}}}},
        {"from inside out", {{50, 25}, {50, 1e300}}, false, {{{50, 25}, {50, 52.5}}}},
        {"outside", {{-100, -100}, {-100, 100}}, false, {}},
        {"largest coordinates", {{-1.7e308, 25}, {1.7e308, 25}}, false, {{{-2.5, 25}, {102.5, 25}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingSurface rec;
        ClippedSurface s(rec, box);
        const Path in = polyline(c.in, c.closed);
        s.strokePath(in, Pen{});
        const auto strokes = rec.of(Op::Stroke);
        if (c.want.empty()) {
            EXPECT_TRUE(strokes.empty());
            continue;
        }
        ASSERT_EQ(strokes.size(), 1u);
        if (c.closed) {
            EXPECT_EQ(strokes[0]->path, in);
            continue;
        }
        EXPECT_EQ(points(strokes[0]->path), c.want[0]);
    }
}

TEST(ClippedSurface, APartStartingAtTheCutCarriesTheDashPatternOn)
{
    // Dashes of 4 on, 6 off (pen widths of one pixel): period 10. The line starts 1000.25
    // pixels left of the cut, so the part starts 1000.25 pixels into the pattern.
    RecordingSurface rec;
    ClippedSurface s(rec, box);
    Pen pen;
    pen.dashes = {4, 6};
    pen.dashOffset = 1;
    s.strokePath(polyline({{-1002.75, 25}, {-500, 25}, {50, 25}}), pen);
    auto strokes = rec.of(Op::Stroke);
    ASSERT_EQ(strokes.size(), 1u);
    EXPECT_EQ(points(strokes[0]->path), (Points{{-2.5, 25}, {50, 25}}));
    EXPECT_NEAR(strokes[0]->pen.dashOffset, std::fmod(1 + 1000.25, 10), 1e-9);

    // A wide pen measures dashes in its width; a figure that leaves and comes back gives
    // two parts, the one from the figure's start with the pen as it was.
    rec.calls.clear();
    pen.width = 4;
    pen.dashOffset = 0;
    s.strokePath(polyline({{10, 10}, {10, -1000}, {20, -1000}, {20, 10}}), pen);
    strokes = rec.of(Op::Stroke);
    ASSERT_EQ(strokes.size(), 2u);
    EXPECT_EQ(points(strokes[0]->path), (Points{{20, -4}, {20, 10}}));  // 4 + 2 beyond the box
    EXPECT_NEAR(strokes[0]->pen.dashOffset, std::fmod((1010 + 10 + 996) / 4.0, 10), 1e-9);
    EXPECT_EQ(points(strokes[1]->path), (Points{{10, 10}, {10, -4}}));
    EXPECT_EQ(strokes[1]->pen.dashOffset, 0);
}

TEST(ClippedSurface, FillsAndClipsAreCutToThePage)
{
    RecordingSurface rec;
    ClippedSurface s(rec, box);
    // A triangle far larger than the page covers it: its cut keeps the page (and 2 pixels).
    s.fillPath(polyline({{-1e9, -1e9}, {1e9, -1e9}, {0, 1e9}}, true), Brush{});
    const auto fills = rec.of(Op::Fill);
    ASSERT_EQ(fills.size(), 1u);
    for (const auto& [x, y] : points(fills[0]->path)) {
        EXPECT_TRUE(x >= -2 && x <= 102 && y >= -2 && y <= 52) << x << ", " << y;
    }
    // A clip entirely off the page leaves nothing to show; inside, it stays.
    s.clipPath(polyline({{200, 0}, {300, 0}, {300, 10}}, true), false);
    s.clipPath(polyline({{1, 1}, {3, 1}, {3, 3}}, true), true);
    const auto clips = rec.of(Op::Clip);
    ASSERT_EQ(clips.size(), 2u);
    EXPECT_TRUE(clips[0]->path.empty());
    EXPECT_EQ(clips[1]->path, polyline({{1, 1}, {3, 1}, {3, 3}}, true));
    EXPECT_TRUE(clips[1]->replace);

    // Under a world transform (rotated text) coordinates are not pixels: passed on uncut.
    s.setTransform(Matrix{0, 1, -1, 0, 500, 500});
    const Path far = polyline({{-1000, 0}, {1000, 0}});
    s.strokePath(far, Pen{});
    EXPECT_EQ(rec.of(Op::Stroke).back()->path, far);
}

TEST(printPage, EnormousDrawingPrintsOnlyWhatMeetsThePageWithBoundedCoordinates)
{
    // A dashed line and a polyline reaching 1e300 units beyond the page, at 600 dpi: before
    // the cut, the printer would have had to walk 1e300 units of dashes.
    model::DisplayModel m;
    model::TLineType dashed;
    dashed.name = "DASHED";
    dashed.parts = {0.5, -0.25};
    m.linetype = {dashed};
    m.anzlt = 1;
    model::tpoly p;
    std::vector<model::Tmypoi>& ps = p.ps.edit();
    ps.resize(3);
    ps[0].x = -1e300, ps[0].y = 10;
    ps[1].x = 1e300, ps[1].y = 10;
    ps[2].x = 1e300, ps[2].y = 1e300;
    p.anzp = 3;
    p.ltnamepresent = true;
    p.ltname = "DASHED";
    m.polys = {p};
    m.anzpoly = 1;
    PageValues page;  // A4 portrait at 600 dpi
    RecordingSurface s;
    printPage(s, m, 0, page, {});
    const auto strokes = s.of(Op::Stroke);
    ASSERT_EQ(strokes.size(), 1u);
    const Pen& pen = strokes[0]->pen;
    ASSERT_EQ(pen.dashes.size(), 2u);
    EXPECT_GE(pen.dashOffset, 0);
    EXPECT_LT(pen.dashOffset, pen.dashes[0] + pen.dashes[1]);
    // The line at y = 10 mm across the whole page, cut half a pen and two pixels outside.
    const double y = 7016 - 1 - std::nearbyint(10 * 600 / 25.39995);
    const double pad = std::max(1.0, pen.width) / 2 + 2;
    const Points pts = points(strokes[0]->path);
    ASSERT_EQ(pts.size(), 2u);
    EXPECT_EQ(pts[0], std::make_pair(-pad, y));
    EXPECT_EQ(pts[1], std::make_pair(4959 + pad, y));
}
