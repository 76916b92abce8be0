// The view transform: conversions, zoom limits, wheel, zoom to extents, drag tools and
// the per-tab view memory, checked against the formulas on a bare view state.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "dxf/extents.h"
#include "view/ViewState.h"

using namespace kerbon;
using namespace kerbon::view;

namespace {

ViewState area(int w, int h)
{
    ViewState v;
    v.W = w;
    v.H = h;
    return v;
}

model::tpoly polyOf(std::initializer_list<std::pair<double, double>> pts)
{
    model::tpoly p;
    for (auto [x, y] : pts) {
        model::Tmypoi q;
        q.x = x;
        q.y = y;
        p.ps.edit().push_back(q);
    }
    p.anzp = int(p.ps.size());
    return p;
}

void add(model::DisplayModel& m, model::tpoly p)
{
    m.polys.push_back(std::move(p));
    m.anzpoly = int(m.polys.size());
}

}  // namespace

TEST(ViewState, StartsWithOriginTwentyPixelsInFromLowerLeft)
{
    ViewState v = area(800, 600);
    double sx = 0, sy = 0;
    v.DXF2Bildschirm(0, 0, sx, sy);
    EXPECT_DOUBLE_EQ(sx, 20);
    EXPECT_DOUBLE_EQ(sy, 579);  // bottom row 599, 20 pixels up
    v.zoomedvalue = 250;
    v.scrollx = 1234;
    v.scrolly = -567;
    double x = 0, y = 0;
    v.DXF2Bildschirm(12.5, -7.25, sx, sy);
    EXPECT_DOUBLE_EQ(sx, 12.5 * 2.5 - 12.34);
    EXPECT_DOUBLE_EQ(sy, 599 + 7.25 * 2.5 + 5.67);
    v.Bildschirm2DXF(sx, sy, x, y);
    EXPECT_NEAR(x, 12.5, 1e-12);
    EXPECT_NEAR(y, -7.25, 1e-12);
}

TEST(ViewState, RoundingIsHalfToEvenAndSafeForAnyValue)
{
    struct Case { double v; int want; };
    const double inf = std::numeric_limits<double>::infinity();
    const Case cases[] = {{2.5, 2},  {3.5, 4},  {-2.5, -2}, {0.49, 0}, {1e300, INT32_MAX},
                          {-inf, INT32_MIN}, {std::nan(""), 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.v);
        EXPECT_EQ(roundHalfEven(c.v), c.want);
    }
    EXPECT_EQ(clampScroll(1e300), scrollLimit);
    EXPECT_EQ(clampScroll(-inf), -scrollLimit);
    EXPECT_EQ(clampZoom(std::nan(""), 5, 10), 5);
}

TEST(ViewState, ScrollBarsShowAnyRange)
{
    // Within an int: the positions themselves.
    ScrollBarView b = scrollBarView(scrollMin, scrollMax, -2000);
    EXPECT_EQ(b.minimum, scrollMin);
    EXPECT_EQ(b.maximum, scrollMax);
    EXPECT_EQ(b.value, -2000);
    EXPECT_EQ(b.single, scrollSmallStep);
    EXPECT_EQ(b.position(b.value), -2000);
    // Beyond: in steps, mapping back to within one step.
    const int64_t lo = -5000000000000, hi = 7000000000000, pos = 123456789012;
    b = scrollBarView(lo, hi, pos);
    EXPECT_EQ(b.minimum, 0);
    EXPECT_LE(b.maximum, 2000000000);
    EXPECT_EQ(b.position(b.maximum) <= hi, true);
    EXPECT_NEAR(double(b.position(b.value)), double(pos), double(b.unit));
    EXPECT_GE(b.single, 1);
}

TEST(ViewState, ZoomButtonsKeepTheCentreAndStopAtTheLimits)
{
    model::DisplayModel m;
    add(m, polyOf({{0, 0}, {100, 100}}));  // the centre of the area lies on the drawing
    ViewState v = area(801, 601);
    v.scrollx = -35000, v.scrolly = 25000;  // drawing point (50, 50) at the centre
    double cx = 0, cy = 0;
    v.Bildschirm2DXF(400, 300, cx, cy);
    v.ZoomInBtnClick(m);
    EXPECT_DOUBLE_EQ(v.zoomedvalue, 120);
    double sx = 0, sy = 0;
    v.DXF2Bildschirm(cx, cy, sx, sy);
    EXPECT_NEAR(sx, 400, 0.005);
    EXPECT_NEAR(sy, 300, 0.005);
    // In: until double precision could no longer place the pixels of the point kept; there
    // the point under the centre still stays within a hundredth of a pixel.
    for (int i = 0; i < 250; ++i)
        v.ZoomInBtnClick(m);
    v.Bildschirm2DXF(400, 300, cx, cy);
    EXPECT_NEAR(v.zoomedvalue / zoomCeiling(cx, cy), 1, 1e-6);
    v.ZoomInBtnClick(m);
    v.DXF2Bildschirm(cx, cy, sx, sy);
    EXPECT_NEAR(sx, 400, 0.01);
    EXPECT_NEAR(sy, 300, 0.01);
    // Out: to 5 for an ordinary drawing ...
    for (int i = 0; i < 250; ++i)
        v.ZoomOutBtnClick(m);
    EXPECT_EQ(v.zoomedvalue, zoomMin);
    // ... and on for a large one, until it is a hundredth of the area.
    add(m, polyOf({{-2e7, 0}, {3e7, 1e6}}));
    for (int i = 0; i < 250; ++i)
        v.ZoomOutBtnClick(m);
    EXPECT_DOUBLE_EQ(v.zoomedvalue, 801 * 100 / 5e7 / 100);
}

TEST(ViewState, WheelZoomsAboutTheMouseOrScrolls)
{
    model::DisplayModel m;
    ViewState v = area(640, 480);
    double x = 0, y = 0;
    v.Bildschirm2DXF(123, 45, x, y);
    for (bool up : {true, true, false, true}) {
        v.mouseWheel(up, 123, 45, false, false, m);
        double sx = 0, sy = 0;
        v.DXF2Bildschirm(x, y, sx, sy);
        EXPECT_NEAR(sx, 123, 0.005);
        EXPECT_NEAR(sy, 45, 0.005);
    }
    EXPECT_NEAR(v.zoomedvalue, 100 * 1.2 * 1.2, 1e-9);

    struct Case { bool up, shift, ctrl; int dx, dy; };
    const Case cases[] = {{false, true, false, 2000, 0}, {true, true, false, -2000, 0},
                          {false, false, true, 0, 2000}, {true, false, true, 0, -2000},
                          {false, true, true, 2000, 0}};  // Shift wins over Ctrl
    for (const Case& c : cases) {
        const int h = v.scrollx, vv = v.scrolly;
        const double z = v.zoomedvalue;
        v.mouseWheel(c.up, 10, 10, c.shift, c.ctrl, m);
        EXPECT_EQ(v.scrollx - h, c.dx);
        EXPECT_EQ(v.scrolly - vv, c.dy);
        EXPECT_EQ(v.zoomedvalue, z);
    }
}

TEST(ViewState, ScrollStopsAtTheRangeEnds)
{
    model::DisplayModel m;
    ViewState v = area(100, 100);
    v.setScroll(99999000, -99999000, m);
    for (int i = 0; i < 3; ++i) {
        v.mouseWheel(false, 0, 0, true, false, m);
        v.mouseWheel(true, 0, 0, false, true, m);
    }
    EXPECT_EQ(v.scrollx, scrollMax);
    EXPECT_EQ(v.scrolly, scrollMin);
}

TEST(ZoomFullIn, EmptyDrawingFitsTheTenUnitBox)
{
    model::DisplayModel m;
    ViewState v = area(800, 600);
    v.ZoomFullIn(m, PageValues{});
    // fx = 800 / 20, fy = 600 / 20: z = 100 * 30 * 0.95; dx = dy = 285
    EXPECT_DOUBLE_EQ(v.zoomedvalue, 2850);
    EXPECT_EQ(v.scrollx, -25250);  // (0 - (800 - 285 - 10) / 2) * 100
    EXPECT_EQ(v.scrolly, 15250);   // ((600 - 285 - 10) / 2 - 0) * 100
}

TEST(ZoomFullIn, ExtentsAreExactAndIgnoreInfiniteLines)
{
    model::DisplayModel m;
    add(m, polyOf({{2.5, 3.5}, {-3.5, 102.5}}));
    model::tpoly x = polyOf({{-1e6, -1e6}, {1e6, 1e6}});
    x.xline = true;
    add(m, x);
    model::tpoly r = polyOf({{5e5, 0}});
    r.ray = true;
    add(m, r);
    model::tpoly ps = polyOf({{1000, 1000}});
    ps.ispaperspace = true;  // other tab
    add(m, ps);
    model::tpoly broken = polyOf({{std::nan(""), 1}, {1e300, -1e300}});
    add(m, broken);
    const Extents e = tabExtents(m, 0, PageValues{});
    EXPECT_EQ(e.minx, -3.5);
    EXPECT_EQ(e.maxx, 1e300);
    EXPECT_EQ(e.miny, -1e300);
    m.anzpoly = 4;  // without the huge vertex
    const Extents e2 = tabExtents(m, 0, PageValues{});
    EXPECT_EQ(e2.minx, -3.5);
    EXPECT_EQ(e2.maxx, 2.5);
    EXPECT_EQ(e2.miny, 3.5);
    EXPECT_EQ(e2.maxy, 102.5);
}

// Every corner of the box lies inside the area, and the box fills most of it one way.
void expectShownWhole(const ViewState& v, const Extents& e)
{
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    v.DXF2Bildschirm(e.minx, e.miny, x1, y1);
    v.DXF2Bildschirm(e.maxx, e.maxy, x2, y2);
    EXPECT_GE(x1, 0);
    EXPECT_LE(x2, v.W - 1);
    EXPECT_GE(y2, 0);  // pixel y grows downwards
    EXPECT_LE(y1, v.H - 1);
    EXPECT_GT(std::max((x2 - x1) / v.W, (y1 - y2) / v.H), 0.85);
}

TEST(ZoomFullIn, ShowsAnyDrawingWholeWhateverTheZoomBefore)
{
    struct Case { const char* name; double x1, y1, x2, y2; };
    const Case cases[] = {
        {"a part in metres", 0.02, 0.01, 0.32, 0.21},
        {"a building in millimetres", 0, 0, 30000, 12000},
        {"ten million units", -4e6, 0, 6e6, 2e5},
        {"a site plan in real coordinates", 3.5e6, 5.8e6, 3.5003e6, 5.8002e6},
        {"a tiny detail far out", 1e6, 1e6, 1e6 + 1e-4, 1e6 + 2e-4},
        {"coordinates near the double range", -1e300, -1e300, 1e300, 1e300},
    };
    for (const Case& c : cases) {
        for (double z0 : {100.0, 1e-6, 1e9}) {
            SCOPED_TRACE(testing::Message() << c.name << ", zoom before " << z0);
            model::DisplayModel m;
            add(m, polyOf({{c.x1, c.y1}, {c.x2, c.y2}}));
            ViewState v = area(1920, 1080);
            v.zoomedvalue = z0;
            v.ZoomFullIn(m, PageValues{});
            EXPECT_TRUE(std::isfinite(v.zoomedvalue) && v.zoomedvalue > 0);
            expectShownWhole(v, tabExtents(m, 0, PageValues{}));
        }
    }
}

TEST(ZoomFullIn, GripsFarAwayDoNotCount)
{
    // An arc of huge radius and tiny sweep: its centre grip lies far below what is drawn.
    model::DisplayModel m;
    model::tpoly arc = polyOf({{5, -1e6}, {0, 0}, {5, 0.0000125}, {10, 0}});
    arc.ps.edit()[0].donotdraw = true;
    add(m, arc);
    model::tpoly onlyGrip = polyOf({{-20, 3}});  // no drawn vertex: the grip counts
    onlyGrip.ps.edit()[0].donotdraw = true;
    add(m, onlyGrip);
    const Extents e = tabExtents(m, 0, PageValues{});
    EXPECT_EQ(e.minx, -20);
    EXPECT_EQ(e.maxx, 10);
    EXPECT_EQ(e.miny, 0);
    EXPECT_EQ(e.maxy, 3);
    // The whole-unit extents for new viewports take the same points.
    double minx = 0, miny = 0, maxx = 0, maxy = 0;
    getdimtab0(m, minx, miny, maxx, maxy);
    EXPECT_EQ(miny, 0);
    EXPECT_EQ(maxx, 10);
}

TEST(ViewState, ScrollRangeFollowsTheDrawing)
{
    model::DisplayModel m;
    add(m, polyOf({{0, 0}, {1e7, 1e7}}));
    ViewState v = area(800, 600);
    v.setScroll(9e8, -9e8, m);  // the drawing's far corner at zoom 100: 1e9 hundredths
    EXPECT_EQ(v.scrollx, 900000000);
    EXPECT_EQ(v.scrolly, -900000000);
    v.setScroll(5e9, -5e9, m);  // beyond the drawing and the fixed range: held there
    EXPECT_EQ(v.scrollx, 1000000000);
    EXPECT_EQ(v.scrolly, -1000000000);
    v.setScroll(-5e9, 5e9, m);
    EXPECT_EQ(v.scrollx, scrollMin);
    EXPECT_EQ(v.scrolly, scrollMax);
}

TEST(ZoomFullIn, LayoutTabWidensTheBoxByThePrintablePage)
{
    model::DisplayModel m;  // no layout records: tab 1 is paper space
    model::tpoly p = polyOf({{50, 60}, {70, 80}});
    p.ispaperspace = true;
    add(m, p);
    PageValues page;
    page.rand = 10;
    page.mm = 2;  // 2 mm per unit halves the sheet in units
    const Extents e = tabExtents(m, 1, page);
    EXPECT_EQ(e.minx, 50);  // starts at the entities, not at 0
    EXPECT_EQ(e.miny, 60);
    EXPECT_NEAR(e.maxx, (4960 / 600.0 * 25.39995 - 20) / 2, 1e-9);
    EXPECT_NEAR(e.maxy, (7016 / 600.0 * 25.39995 - 20) / 2, 1e-9);
    const Extents model0 = tabExtents(m, 0, page);  // model tab: nothing there
    EXPECT_EQ(model0.maxx, 10);
}

TEST(ZoomFullIn, LayoutRecordsSelectEntitiesByOwnerAndBlock)
{
    model::DisplayModel m;
    m.layouts.resize(2);
    m.layouts[0].layhan = 0x1F;
    m.layouts[1].layhan = 0x22;
    m.blocks.push_back({"*Paper_Space", 0, 0x22});
    m.blocks.push_back({"*Paper_Space0", 0, 0x22});
    model::tpoly own = polyOf({{1, 1}, {30, 40}});
    own.layhan = 0x1F;
    add(m, own);
    model::tpoly loose = polyOf({{-20, -30}});  // no owner: model tab
    add(m, loose);
    model::tpoly inblock = polyOf({{100, 200}, {300, 400}});
    inblock.layhan = 0x22;
    inblock.isblock = true;
    inblock.theblockname = "*Paper_Space0";
    add(m, inblock);
    model::tpoly plain = polyOf({{-500, -500}});
    plain.layhan = 0x22;  // on the layout, but not in its block
    add(m, plain);

    EXPECT_EQ(tabContext(m, 1).blockname, "*Paper_Space0");
    const Extents e0 = tabExtents(m, 0, PageValues{});
    EXPECT_EQ(e0.minx, -20);
    EXPECT_EQ(e0.maxy, 40);
    PageValues tiny;
    tiny.pagewidth = tiny.pageheight = 60;  // a small sheet so that the entities decide
    const Extents e1 = tabExtents(m, 1, tiny);
    EXPECT_EQ(e1.minx, 100);
    EXPECT_EQ(e1.maxx, 300);
    EXPECT_EQ(e1.miny, 200);
    EXPECT_EQ(e1.maxy, 400);
}

TEST(ViewState, DragZoomAndDragPanFollowTheMouse)
{
    model::DisplayModel m;
    ViewState v = area(400, 300);
    v.startZoomTool();
    ASSERT_TRUE(v.mouseDown(200, 150, false));
    double x = 0, y = 0;
    v.Bildschirm2DXF(200, 100, x, y);
    ASSERT_TRUE(v.mouseMove(200, 100, m));  // 50 pixels up: larger
    EXPECT_DOUBLE_EQ(v.zoomedvalue, 100 + 50 * 100 / 300.0);
    double sx = 0, sy = 0;
    v.DXF2Bildschirm(x, y, sx, sy);
    EXPECT_NEAR(sx, 200, 0.005);
    EXPECT_NEAR(sy, 100, 0.005);
    v.mouseMove(200, 100000, m);
    EXPECT_EQ(v.zoomedvalue, zoomMin);
    v.mouseUp();
    EXPECT_FALSE(v.mouseMove(0, 0, m));
    EXPECT_TRUE(v.mouseDown(0, 0, true));  // right button ends the tool
    EXPECT_FALSE(v.inzoom);

    v.startHandTool();
    v.mouseDown(100, 100, false);
    const int h0 = v.scrollx, v0 = v.scrolly;
    v.mouseMove(130, 90, m);
    EXPECT_EQ(v.scrollx, h0 - 3000);
    EXPECT_EQ(v.scrolly, v0 + 1000);
    v.mouseUp();
    EXPECT_TRUE(v.inhand);
}

TEST(ViewState, EachTabRemembersItsView)
{
    model::DisplayModel m;  // no layout records: fixed slots for tab 0 and the rest
    ViewState v = area(800, 600);
    v.setScroll(-1000, 3000, m);
    v.tabindex = 1;
    v.restoreZoom(m, PageValues{});  // nothing stored yet: zoom to extents, not stored
    EXPECT_FALSE(v.slot1.zoomsetted);
    v.ZoomInBtnClick(m);
    const ZoomSlot one = v.slot1;
    EXPECT_TRUE(one.zoomsetted);
    v.tabindex = 0;
    v.restoreZoom(m, PageValues{});
    EXPECT_EQ(v.zoomedvalue, 100);
    EXPECT_EQ(v.scrollx, -1000);
    EXPECT_EQ(v.scrolly, 3000);
    v.tabindex = 5;  // any other tab shares slot 1
    v.restoreZoom(m, PageValues{});
    EXPECT_EQ(v.zoomedvalue, one.zoomvalue);
    EXPECT_EQ(v.scrollx, one.scrollxvalue);

    m.layouts.resize(2);  // with layout records each record keeps its own view
    v.tabindex = 1;
    v.ZoomOutBtnClick(m);
    EXPECT_TRUE(m.layouts[1].zoomsetted);
    EXPECT_EQ(m.layouts[1].zoomvalue, v.zoomedvalue);
    EXPECT_EQ(m.layouts[1].scrollyvalue, v.scrolly);
    EXPECT_FALSE(m.layouts[0].zoomsetted);
}
