// The view transform: conversions, zoom limits, wheel, zoom to extents, drag tools and
// the per-tab view memory, checked against the formulas on a bare view state.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

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
        p.ps.push_back(q);
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
    EXPECT_EQ(clampScroll(5e8), scrollMax);
    EXPECT_EQ(clampScroll(-inf), scrollMin);
    EXPECT_EQ(clampZoom(std::nan("")), zoomMin);
}

TEST(ViewState, ZoomButtonsKeepTheCentreAndStopAtTheLimits)
{
    model::DisplayModel m;
    ViewState v = area(801, 601);
    double cx = 0, cy = 0;
    v.Bildschirm2DXF(400, 300, cx, cy);
    v.ZoomInBtnClick(m);
    EXPECT_DOUBLE_EQ(v.zoomedvalue, 120);
    double sx = 0, sy = 0;
    v.DXF2Bildschirm(cx, cy, sx, sy);
    EXPECT_NEAR(sx, 400, 0.005);
    EXPECT_NEAR(sy, 300, 0.005);
    for (int i = 0; i < 200; ++i)
        v.ZoomInBtnClick(m);
    EXPECT_EQ(v.zoomedvalue, zoomMax);
    for (int i = 0; i < 200; ++i)
        v.ZoomOutBtnClick(m);
    EXPECT_EQ(v.zoomedvalue, zoomMin);
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

TEST(ZoomFullIn, ExtentsRoundVerticesAndIgnoreInfiniteLines)
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
    EXPECT_EQ(e.minx, -4);
    EXPECT_EQ(e.maxx, 1e300);
    EXPECT_EQ(e.miny, -1e300);
    m.anzpoly = 4;  // without the huge vertex
    const Extents e2 = tabExtents(m, 0, PageValues{});
    EXPECT_EQ(e2.minx, -4);
    EXPECT_EQ(e2.maxx, 2);
    EXPECT_EQ(e2.miny, 4);
    EXPECT_EQ(e2.maxy, 102);

    ViewState v = area(800, 600);
    m.anzpoly = 5;
    v.ZoomFullIn(m, PageValues{});  // a box too large for any zoom: clamped, no overflow
    EXPECT_EQ(v.zoomedvalue, zoomMin);
    EXPECT_GE(v.scrollx, scrollMin);
    EXPECT_LE(v.scrolly, scrollMax);
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
