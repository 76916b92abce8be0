// The QPainter surface: a few things checked as pixels, and skipping of entities outside
// the area checked against drawing everything.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdlib>
#include <limits>
#include <random>

#include "render/QPainterSurface.h"
#include "render/paintImage.h"
#include "view/paint.h"

using namespace kerbon;
using namespace kerbon::view;

namespace {

void ensureApp()
{
    static int argc = 1;
    static char name[] = "test_render";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = nullptr;
    if (!QGuiApplication::instance()) {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        app = new QGuiApplication(argc, argv);
    }
    (void)app;
}

model::Tmypoi pt(double x, double y)
{
    model::Tmypoi v;
    v.x = x, v.y = y;
    return v;
}

model::tpoly poly(std::vector<model::Tmypoi> ps, int color)
{
    model::tpoly p;
    p.ps = std::move(ps);
    p.anzp = int(p.ps.size());
    p.colorispresent = true;
    p.colornr = color;
    return p;
}

QImage blank(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    return img;
}

bool isColour(const QImage& img, int x, int y, QRgb c) { return (img.pixel(x, y) & 0xFFFFFF) == (c & 0xFFFFFF); }

}  // namespace

TEST(QPainterSurface, CrispLinesFillsAndTextInPlace)
{
    ensureApp();
    model::DisplayModel m;
    m.polys.push_back(poly({pt(10, 10), pt(90, 10)}, 1));       // red, 1 pixel on row 89
    model::tpoly hatch = poly({pt(10, 30), pt(50, 30), pt(50, 70), pt(10, 70)}, 5);
    hatch.issolid = hatch.patternfill = hatch.isclosed = true;
    m.polys.push_back(hatch);
    model::tpoly text = poly({pt(60, 40)}, 7);
    text.textstr = "HH";
    text.radius = 20;
    m.polys.push_back(text);
    m.anzpoly = 3;

    QImage img = blank(100, 100);
    {
        QPainter painter(&img);
        render::QPainterSurface s(painter);
        DrawArgs a;
        a.paintbox1height = 100;
        Drawpolys(s, m, a);
    }
    EXPECT_TRUE(isColour(img, 50, 89, qRgb(255, 0, 0)));
    EXPECT_TRUE(isColour(img, 50, 88, qRgb(255, 255, 255)));
    EXPECT_TRUE(isColour(img, 50, 90, qRgb(255, 255, 255)));

    // The hatch shows blue lines on white inside the outline.
    int blueInside = 0, whiteInside = 0;
    for (int y = 35; y < 65; ++y)
        for (int x = 15; x < 45; ++x) {
            const QColor c = img.pixelColor(x, y);
            blueInside += c.blue() > 200 && c.red() < 100;
            whiteInside += c == Qt::white;
        }
    EXPECT_GT(blueInside, 50);
    EXPECT_GT(whiteInside, 200);

    // A single-line text stands on its insertion point: ink between the top (row 39)
    // and the baseline (row 59), starting right of x = 60.
    int inkAbove = 0, inkBelow = 0, inkLeft = 0;
    for (int y = 0; y < 85; ++y)  // above the red line
        for (int x = 55; x < 100; ++x) {
            if (img.pixelColor(x, y).lightness() > 128)
                continue;
            if (y < 36)
                ++inkAbove;
            else if (y > 61)
                ++inkBelow;
            else if (x < 59)
                ++inkLeft;
        }
    EXPECT_EQ(inkAbove + inkBelow + inkLeft, 0);
    int ink = 0;
    for (int y = 40; y < 60; ++y)
        for (int x = 60; x < 100; ++x)
            ink += img.pixelColor(x, y).lightness() < 128;
    EXPECT_GT(ink, 50);
}

TEST(QPainterSurface, LayoutTabShowsWhiteOnBlackPaper)
{
    ensureApp();
    model::DisplayModel m;
    model::tpoly p = poly({pt(10, 10), pt(40, 10)}, 7);
    p.ispaperspace = true;
    m.polys.push_back(p);
    m.anzpoly = 1;
    ViewState v;
    v.W = 200, v.H = 150, v.tabindex = 1;  // no layout records: tab 1 is paper space
    PageValues page;
    page.dpi = 25.39995, page.pagewidth = 100, page.pageheight = 50;
    QImage img = blank(200, 150);
    {
        QPainter painter(&img);
        render::QPainterSurface s(painter);
        PaintBox1Paint(s, m, v, page, {});
    }
    EXPECT_TRUE(isColour(img, 180, 20, qRgb(192, 192, 192)));  // outside the sheet
    EXPECT_TRUE(isColour(img, 100, 110, qRgb(0, 0, 0)));       // the sheet
    EXPECT_TRUE(isColour(img, 45, 119, qRgb(255, 255, 255)));  // the colour-7 line
}

TEST(QPainterSurface, SkippingOutsideEntitiesNeverChangesThePicture)
{
    ensureApp();
    std::mt19937 rnd(7);
    std::uniform_real_distribution<double> coord(-50, 250), unit(0, 1);
    model::DisplayModel m;
    m.linetype = {{"DASHED", "", {2.f, -1.f}}};
    m.anzlt = 1;
    // Block "B" (base 5, 5) with a line, a text and an insert of block "C".
    const auto member = [&](model::tpoly p, const char* block) {
        p.isblock = true, p.theblockname = block, p.blockbasex = 5, p.blockbasey = 5;
        m.polys.push_back(p);
    };
    member(poly({pt(0, 0), pt(30, 4)}, 3), "B");
    model::tpoly bt = poly({pt(5, 5)}, 4);
    bt.textstr = "Block text";
    bt.radius = 4;
    member(bt, "B");
    model::tpoly toC = poly({pt(10, 0)}, 0);
    toC.insertstr = "C";
    member(toC, "B");
    member(poly({pt(0, 0), pt(0, 25)}, 6), "C");
    for (int i = 0; i < 300; ++i) {
        const double x = coord(rnd), y = coord(rnd);
        model::tpoly p;
        switch (i % 6) {
        case 0:
            p = poly({pt(x, y), pt(x + 40 * unit(rnd) - 20, y + 40 * unit(rnd) - 20)}, 1 + i % 9);
            p.ltnamepresent = true, p.ltname = "DASHED";
            break;
        case 1:
            p = poly({pt(x, y), pt(x + 10, y), pt(x + 10, y + 8)}, 2);
            p.setwidonce = true, p.thewid = 3 * unit(rnd);
            p.arrowhead = true;
            break;
        case 2:
            p = poly({pt(x, y)}, 5);
            p.textstr = "Text\\Psecond line";
            p.radius = 1 + 6 * unit(rnd);
            p.rotation = 360 * unit(rnd);
            p.ismtext = i % 4 == 0;
            break;
        case 3:
            p = poly({pt(x, y)}, 0);
            p.insertstr = "B";
            break;
        case 4:
            p = poly({pt(x, y), pt(x + 6, y), pt(x + 3, y + 5)}, 8);
            p.issolid = true, p.isclosed = true;
            p.selected = true;
            p.ps.edit()[0].linex = 1;
            break;
        default:
            p = poly({pt(x, y), pt(x + 20, y)}, 3);
            p.ps.edit()[1].doadddimtexthere = true;
            p.ps.edit()[1].botharrows = 3;
            p.messuaretxt = "20.0000";
            p.cx1 = x + 10, p.cy1 = y + 1;
            p.linweightpresent = true;
            p.lineweight = 211;
            break;
        }
        m.polys.push_back(p);
    }
    // A paper-space viewport showing the model at half size, and a paper-space line.
    model::tpoly vp = poly({pt(20, 20), pt(140, 20), pt(140, 100), pt(20, 100)}, 7);
    vp.isclosed = vp.ispaperspace = vp.isviewport = true;
    vp.viewid = 2, vp.cx = 80, vp.cy = 60, vp.widx = 120, vp.widy = 80;
    vp.panx = 100, vp.pany = 100, vp.viewheight = 160;
    m.polys.push_back(vp);
    model::tpoly paperLine = poly({pt(0, 0), pt(200, 150)}, 1);
    paperLine.ispaperspace = true;
    m.polys.push_back(paperLine);
    m.anzpoly = int(m.polys.size());

    struct View { double zoom, scrollx, scrolly; bool model; };
    const View views[] = {{100, -20, 20, true},    {1000, 500, 300, true}, {1000, -400, -200, true},
                          {35, -10, 0, true},      {100, -20, 20, false},  {400, 150, 100, false}};
    for (const View& v : views) {
        SCOPED_TRACE(v.zoom);
        DrawArgs a;
        a.zoomit = v.zoom, a.scrollx = v.scrollx, a.scrolly = v.scrolly;
        a.showmodel = a.showmodelforcolor = v.model;
        a.paintbox1height = 160;
        QImage all = blank(240, 160), skipped = blank(240, 160);
        {
            QPainter painter(&all);
            render::QPainterSurface s(painter);
            Drawpolys(s, m, a);
        }
        {
            QPainter painter(&skipped);
            render::QPainterSurface s(painter);
            RenderCache cache;
            cache.build(m, a.dpi1, a.showweight);
            const PixelRect visible{0, 0, 240, 160};
            Drawpolys(s, m, a, cache, &visible);
        }
        EXPECT_TRUE(all == skipped);
    }
}

TEST(paintImage, BandsOnSeveralThreadsPaintTheSamePicture)
{
    ensureApp();
    model::DisplayModel m;
    std::mt19937 rnd(3);
    std::uniform_real_distribution<double> coord(-20, 220), unit(0, 1);
    for (int i = 0; i < 400; ++i) {
        const double x = coord(rnd), y = coord(rnd);
        model::tpoly p;
        if (i % 5 == 0) {
            p = poly({pt(x, y)}, 1 + i % 7);
            p.textstr = "Teil " + std::to_string(i);
            p.radius = 2 + 5 * unit(rnd);
            p.rotation = 90 * unit(rnd);
        } else {
            std::vector<model::Tmypoi> ps;
            for (int k = 0; k <= 40; ++k)
                ps.push_back(pt(x + 15 * std::cos(k * 0.157), y + 15 * std::sin(k * 0.157)));
            p = poly(ps, 1 + i % 9);
            if (i % 3 == 0)
                p.linweightpresent = true, p.lineweight = 50;
        }
        m.polys.push_back(p);
    }
    m.anzpoly = int(m.polys.size());
    ViewState v;
    v.W = 300, v.H = 400;
    v.zoomedvalue = 130;
    DisplayOptions opt;
    QImage one(300, 400, QImage::Format_RGB32), bands(300, 400, QImage::Format_RGB32);
    RenderCache cache;
    render::paintImage(one, m, v, {}, opt, 96, cache, 1);
    render::paintImage(bands, m, v, {}, opt, 96, cache, 3);
    int differ = 0;
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 300; ++x)
            differ += one.pixel(x, y) != bands.pixel(x, y);
    EXPECT_EQ(differ, 0);
}

TEST(QPainterSurface, HostileValuesNeitherCrashNorHang)
{
    ensureApp();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    model::DisplayModel m;
    m.polys.push_back(poly({pt(-1e15, 5), pt(1e15, 7), pt(3, 1e300)}, 1));
    model::tpoly text = poly({pt(1e12, -1e12)}, 2);
    text.textstr = "far";
    text.radius = 1e200;
    text.rotation = 1e300;
    m.polys.push_back(text);
    model::tpoly big = poly({pt(10, 10)}, 3);
    big.textstr = "huge";
    big.radius = 1e6;
    m.polys.push_back(big);
    model::tpoly dashed = poly({pt(-1e9, 20), pt(1e9, 20)}, 4);
    dashed.ltnamepresent = true, dashed.ltname = "FINE";
    m.polys.push_back(dashed);
    model::tpoly vp = poly({pt(0, 0)}, 5);
    vp.isviewport = true, vp.viewid = 3, vp.widx = 1e308, vp.widy = 1e308, vp.viewheight = -1e-300;
    vp.cx = nan;
    m.polys.push_back(vp);
    model::tpoly wide = poly({pt(0, 0), pt(50, 50)}, 6);
    wide.setwidonce = true, wide.thewid = 1e300;
    m.polys.push_back(wide);
    m.anzpoly = int(m.polys.size());
    m.linetype = {{"FINE", "", {1e-30f, -1e-30f}}};
    m.anzlt = 1;

    struct View { double zoom, sx, sy; int h; };
    const View views[] = {{100, 0, 0, 100}, {1e6, 1e9, -1e9, 100}, {nan, 0, 0, 100},
                          {inf, inf, nan, 100}, {-5, 0, 0, 100}, {0, 0, 0, 100}, {100, 0, 0, 0}};
    QImage img = blank(100, 100);
    for (const View& v : views) {
        QPainter painter(&img);
        render::QPainterSurface s(painter);
        DrawArgs a;
        a.zoomit = v.zoom, a.scrollx = v.sx, a.scrolly = v.sy, a.paintbox1height = v.h;
        Drawpolys(s, m, a);
        RenderCache cache;
        cache.build(m, 96, true);
        const PixelRect area{0, 0, 100, 100};
        Drawpolys(s, m, a, cache, &area);
    }
}
