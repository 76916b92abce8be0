// Drawpolys checked as calls on the recording surface.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "view/Drawpolys.h"
#include "view/RecordingSurface.h"

using namespace kerbon;
using namespace kerbon::view;
using Op = Call::Op;
using Kind = Path::Elem::Kind;

namespace {

const Rgb black{0, 0, 0}, white{255, 255, 255}, red{255, 0, 0}, blue{0, 0, 255};

model::Tmypoi pt(double x, double y)
{
    model::Tmypoi v;
    v.x = x, v.y = y;
    return v;
}

// A record through the given points, with its own colour.
model::tpoly poly(std::vector<model::Tmypoi> ps, int color = 1)
{
    model::tpoly p;
    p.ps = std::move(ps);
    p.anzp = int(p.ps.size());
    p.colorispresent = true;
    p.colornr = color;
    return p;
}

model::tpoly line(double x1, double y1, double x2, double y2, int color = 1)
{
    return poly({pt(x1, y1), pt(x2, y2)}, color);
}

// An insert of `block` at (x, y), unscaled and unturned, as the parser makes it.
model::tpoly insertOf(const char* block, double x, double y)
{
    model::tpoly p = poly({pt(x, y)});
    p.insertstr = block;
    p.scalex = p.scaley = p.scalez = 1;
    p.colcount = p.rowcount = 1;
    return p;
}

struct Fixture {
    model::DisplayModel m;
    RecordingSurface s;

    int add(model::tpoly p)
    {
        m.polys.push_back(std::move(p));
        m.anzpoly = int(m.polys.size());
        return m.anzpoly - 1;
    }
    // H = 101 so that drawing y 0 lies on row 100; zoom 100: one unit is one pixel.
    static DrawArgs args()
    {
        DrawArgs a;
        a.paintbox1height = 101;
        return a;
    }
    RecordingSurface& draw(const DrawArgs& a = args())
    {
        s.calls.clear();
        Drawpolys(s, m, a);
        return s;
    }
    std::vector<Rgb> strokeColours(const DrawArgs& a = args())
    {
        std::vector<Rgb> out;
        for (const Call* c : draw(a).of(Op::Stroke))
            if (!c->path.empty())
                out.push_back(c->pen.color);
        return out;
    }
};

std::vector<std::pair<double, double>> points(const Path& path)
{
    std::vector<std::pair<double, double>> out;
    for (const Path::Elem& e : path.elems)
        if (e.kind == Kind::MoveTo || e.kind == Kind::LineTo)
            out.push_back({e.x, e.y});
    return out;
}

}  // namespace

TEST(Drawpolys, SpaceAndBlockFiltersChooseWhatIsDrawn)
{
    // Colour number = which entity: 1 model, 2 paper space, 3 layout 0x20, 4 layhan 0,
    // 5 member of block "B", 6 member of block "C".
    Fixture f;
    model::tpoly modelLine = line(0, 0, 1, 0, 1);
    model::tpoly paper = line(0, 0, 1, 0, 2);
    paper.ispaperspace = true;
    paper.layhan = 0x30;
    modelLine.layhan = 0x20;
    model::tpoly nolayout = line(0, 0, 1, 0, 4);
    model::tpoly inB = line(0, 0, 1, 0, 5);
    inB.isblock = true, inB.theblockname = "B", inB.layhan = 0x20;
    model::tpoly inC = line(0, 0, 1, 0, 6);
    inC.isblock = true, inC.theblockname = "C";
    for (auto& p : {modelLine, paper, nolayout, inB, inC})
        f.add(p);

    const Rgb c1 = red, c2{255, 255, 0}, c4{0, 255, 255}, c5 = blue, c6{255, 0, 255};
    struct Case { const char* name; int layhan; bool showmodel; const char* block; std::vector<Rgb> want; };
    const Case cases[] = {
        {"model space", -999, true, "", {c1, c4}},
        {"paper space", -999, false, "", {c2}},
        {"layout handle", 0x20, false, "", {c1}},
        {"layout handle and layhan 0", 0x20, true, "", {c1, c4}},
        {"block B", -999, true, "B", {c5}},
        {"block B in paper space", -999, false, "B", {c5}},
        {"block C", -999, true, "C", {c6}},
        {"unknown block", -999, true, "Z", {}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DrawArgs a = Fixture::args();
        a.thelayhan = c.layhan;
        a.showmodel = c.showmodel;
        a.blocktodraw = c.block;
        EXPECT_EQ(f.strokeColours(a), c.want);
    }
}

TEST(Drawpolys, PenFollowsLayerWeightLineTypeAndSelection)
{
    Fixture f;
    model::TLayer layer;
    layer.name = "L";
    layer.colornr = 3;
    layer.ltname = "DASHED";
    layer.flag = 4;
    model::TLayer off;
    off.name = "Off";
    off.colornr = -1;
    f.m.layers = {layer, off};
    f.m.anzlayer = 2;
    f.m.linetype = {{"DASHED", "", {-0.25f, 0.5f, -0.25f}}};
    f.m.anzlt = 1;
    model::tpoly p = line(0, 0, 10, 0);
    p.colorispresent = false;
    p.layerpresent = true;
    p.layer = "L";
    p.linweightpresent = true;
    p.lineweight = 50;
    const int i = f.add(p);
    model::tpoly hidden = p;
    hidden.layer = "Off";
    f.add(hidden);

    DrawArgs a = Fixture::args();
    a.zoomit = 200;
    a.dpi1 = 96;
    auto strokes = f.draw(a).of(Op::Stroke);
    ASSERT_EQ(strokes.size(), 1u);  // the entity on the switched-off layer is not drawn
    EXPECT_TRUE(f.m.polys[i].locked);
    Pen want;
    want.color = {0, 255, 0};
    want.width = 96 * 0.5 / 25.39995 * 2;
    want.dashes = {1.0, 0.5};
    want.dashOffset = 0.5;
    EXPECT_EQ(strokes[0]->pen, want);

    // The drawing's line type scale times the entity's.
    f.m.ltscale = 2;
    f.m.polys[i].ltscale = 3;
    const Pen scaled = f.draw(a).of(Op::Stroke)[0]->pen;
    EXPECT_EQ(scaled.dashes, (std::vector<double>{6.0, 3.0}));
    EXPECT_EQ(scaled.dashOffset, 3.0);
    f.m.ltscale = 1;
    f.m.polys[i].ltscale = 0;

    a.showweight = false;
    EXPECT_EQ(f.draw(a).of(Op::Stroke)[0]->pen.width, 1);

    f.m.polys[i].selected = true;
    const Pen sel = f.draw(a).of(Op::Stroke)[0]->pen;
    EXPECT_TRUE(sel.dashDot);
    EXPECT_EQ(sel.dashes, (std::vector<double>{5, 5}));
    a.forprint = true;
    const Pen printed = f.draw(a).of(Op::Stroke)[0]->pen;
    EXPECT_FALSE(printed.dashDot);
    EXPECT_EQ(printed.dashes, (std::vector<double>{1.0, 0.5}));
}

TEST(Drawpolys, GeometryPathsFillsAndWidths)
{
    // Pixel x stays fractional, pixel y is rounded to a row; y grows downwards.
    Fixture f;
    model::tpoly square = poly({pt(0.25, 0), pt(10, 0.4), pt(10, 10), pt(0, 10)});
    square.isclosed = true;
    f.add(square);
    auto strokes = f.draw().of(Op::Stroke);
    ASSERT_EQ(strokes.size(), 1u);
    EXPECT_EQ(points(strokes[0]->path),
              (std::vector<std::pair<double, double>>{{0.25, 100}, {10, 100}, {10, 90}, {0, 90}}));
    EXPECT_EQ(strokes[0]->path.elems.back().kind, Kind::Close);
    EXPECT_TRUE(f.s.of(Op::Fill).empty());

    // On a layout tab (dark paper) the hatch lines lie on the paper's black: on white a
    // hatch of colour 7 (white there) was a white block hiding what lay under it.
    struct Case { const char* name; bool solid, wipeout, pattern, light; Brush want; };
    const Case cases[] = {
        {"solid", true, false, false, true, {Brush::Style::Solid, red, {}}},
        {"hatch", true, false, true, true, {Brush::Style::BackwardDiagonal, red, white}},
        {"hatch on a layout tab", true, false, true, false, {Brush::Style::BackwardDiagonal, red, black}},
        {"wipeout", false, true, false, true, {Brush::Style::Solid, white, {}}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        f.m.polys[0].issolid = c.solid;
        f.m.polys[0].iswipeout = c.wipeout;
        f.m.polys[0].patternfill = c.pattern;
        DrawArgs a = Fixture::args();
        a.showmodelforcolor = c.light;
        f.draw(a);
        ASSERT_EQ(f.s.calls.size(), 2u);
        EXPECT_EQ(f.s.calls[0].op, Op::Fill);  // filled first, then outlined
        EXPECT_EQ(f.s.calls[0].brush, c.want);
        EXPECT_EQ(f.s.calls[1].op, Op::Stroke);
    }

    // A filled outline of several figures (a hatch with a hole) is filled and stroked as
    // one path of two figures, nothing drawn between them.
    model::tpoly& holed = f.m.polys[0];
    holed = poly({pt(0, 0), pt(10, 0), pt(10, 10), pt(0, 0), pt(2, 1), pt(8, 1), pt(8, 7), pt(2, 1)});
    holed.ps.edit()[4].moveonly = true;
    holed.isclosed = holed.issolid = holed.patternfill = true;
    f.draw();
    ASSERT_EQ(f.s.calls.size(), 2u);
    for (const Call& c : f.s.calls) {
        int figures = 0;
        for (const Path::Elem& e : c.path.elems)
            figures += e.kind == Kind::MoveTo;
        EXPECT_EQ(figures, 2);
        EXPECT_EQ(points(c.path).size(), 8u);  // no segment from (0, 0) to (2, 1)
    }

    // moveonly starts a new stroke; setwid sets the width (not the line-weight switch)
    // and flushes, so a closed outline with widths is not closed; donotdraw is skipped.
    Fixture g;
    model::tpoly pl = poly({pt(0, 0), pt(10, 0), pt(20, 0), pt(30, 0), pt(40, 0)});
    pl.ps.edit()[2].moveonly = true;
    pl.ps.edit()[3].setwid = true;
    pl.ps.edit()[3].wid = 2;
    pl.ps.edit()[4].donotdraw = true;
    pl.isclosed = true;
    g.add(pl);
    DrawArgs a = Fixture::args();
    a.showweight = false;
    a.zoomit = 50;
    strokes = g.draw(a).of(Op::Stroke);
    ASSERT_EQ(strokes.size(), 3u);
    EXPECT_EQ(points(strokes[0]->path), (std::vector<std::pair<double, double>>{{0, 100}, {5, 100}}));
    EXPECT_EQ(points(strokes[1]->path), (std::vector<std::pair<double, double>>{{10, 100}, {15, 100}}));
    EXPECT_EQ(strokes[1]->pen.width, 1);  // 2 units at zoom 50
    EXPECT_TRUE(strokes[2]->path.empty());
    EXPECT_EQ(strokes[2]->pen.width, 1);
    g.m.polys[0].setwidonce = true;
    g.m.polys[0].thewid = 4;
    EXPECT_EQ(g.draw(a).of(Op::Stroke)[0]->pen.width, 2);
}

TEST(Drawpolys, PointIsOnePixelAndBadCoordinatesAreNeverDrawn)
{
    Fixture f;
    model::tpoly point = poly({pt(3.5, 2)}, 5);
    point.ispoint = true;
    point.linweightpresent = true;
    point.lineweight = 200;
    f.add(point);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    f.add(poly({pt(0, 0), pt(nan, 5), pt(10, 0), pt(20, inf), pt(1e300, 0), pt(30, 0)}));
    f.draw();
    auto rects = f.s.of(Op::FillRect);
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(std::make_tuple(rects[0]->x, rects[0]->y, rects[0]->w, rects[0]->h, rects[0]->color),
              std::make_tuple(4, 98, 1, 1, blue));
    for (const Call* c : f.s.of(Op::Stroke))
        for (auto [x, y] : points(c->path))
            EXPECT_TRUE(std::isfinite(x) && std::isfinite(y));
    const auto strokes = f.s.of(Op::Stroke);
    EXPECT_EQ(points(strokes.back()->path),
              (std::vector<std::pair<double, double>>{{1e300, 100}, {30, 100}}));

    // A record whose vertex count exceeds its storage draws only what is stored.
    f.m.polys[1].anzp = 50;
    f.draw();
}

TEST(Drawpolys, ArrowheadsAreBlackOrWhiteTriangles)
{
    Fixture f;
    model::tpoly leader = line(0, 0, 60, 0);
    leader.arrowhead = true;
    f.add(leader);
    DrawArgs a = Fixture::args();
    a.zoomit = 3600;  // an arrow is 1/6 unit: 6 pixels here
    for (bool light : {true, false}) {
        a.showmodelforcolor = light;
        f.draw(a);
        auto fills = f.s.of(Op::Fill);
        ASSERT_EQ(fills.size(), 1u);
        EXPECT_EQ(fills[0]->brush.color, light ? black : white);
        const auto got = points(fills[0]->path);
        const std::vector<std::pair<double, double>> want{{0, 100}, {6, 98.8}, {6, 101.2}, {0, 100}};
        ASSERT_EQ(got.size(), want.size());
        for (size_t k = 0; k < got.size(); ++k) {
            EXPECT_NEAR(got[k].first, want[k].first, 1e-9);
            EXPECT_NEAR(got[k].second, want[k].second, 1e-9);
        }
    }
    // A dimension's arrowheads at its style's size: half a unit is 18 pixels here.
    f.m.polys[0].dimarrowsize = 0.5;
    EXPECT_EQ(points(f.draw(a).of(Op::Fill)[0]->path)[1], (std::pair<double, double>{18, 100 - 3.6}));
    f.m.polys[0].dimarrowsize = 0;
    // Both ends of a segment, and no arrow on a zero-length segment.
    f.m.polys[0].arrowhead = false;
    f.m.polys[0].ps.edit()[1].botharrows = 3;
    EXPECT_EQ(f.draw(a).of(Op::Fill).size(), 2u);
    f.m.polys[0].ps.edit()[1].x = 0;
    EXPECT_EQ(f.draw(a).of(Op::Fill).size(), 0u);
}

TEST(Drawpolys, DimensionTextIsCentredAndComposed)
{
    struct Case { const char* text; const char* measured; int mode; const char* shown; };
    const Case cases[] = {{"<>", "25.0000", 1, "\xC3\x98" "25.0000"},
                          {"", "7.5000", 2, "R7.5000"},
                          {"abc", "1", 0, "abc"},
                          // "<>" within a text stands for the measurement (the first one)
                          {"2x <> mm <>", "12.0000", 0, "2x 12.0000 mm <>"},
                          {"", "1.5707963", 3, "90.0000\xC2\xB0"},
                          {"", "wide", 3, "wide"},
                          {" ", "25.0000", 0, nullptr}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Fixture f;
        model::tpoly dim = line(0, 0, 50, 0);
        dim.ps.edit()[1].doadddimtexthere = true;
        dim.textstr = c.text;
        dim.messuaretxt = c.measured;
        dim.addtextmode = c.mode;
        dim.cx1 = 25, dim.cy1 = 10;
        dim.dimtextheight = 0.3;
        f.add(dim);
        DrawArgs a = Fixture::args();
        a.zoomit = 1000;  // one unit is 10 pixels: text 3 pixels high
        a.paintbox1height = 1001;
        auto texts = f.draw(a).of(Op::Text);
        EXPECT_EQ(f.s.of(Op::Stroke).size(), 1u);  // drawn as geometry, not as a text entity
        if (!c.shown) {
            EXPECT_TRUE(texts.empty());
            continue;
        }
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts[0]->text.text, c.shown);
        EXPECT_EQ(texts[0]->text.pixelSize, 3);
        const TextSize ts = f.s.textSize(c.shown, 3);
        EXPECT_EQ(texts[0]->text.x, 250 - ts.width / 2);
        EXPECT_EQ(texts[0]->text.y, 900 - ts.height / 2);
    }
}

TEST(Drawpolys, TextPlacementMatrices)
{
    Fixture f;
    model::tpoly t = poly({pt(10, 20)});
    t.textstr = "one\\Ptwo";
    t.radius = 2.5;
    const int i = f.add(t);
    DrawArgs a = Fixture::args();
    a.zoomit = 200;  // height 5 pixels; (10, 20) at pixel (20, 60)

    // Single-line text: its top edge one height above the insertion point, the second
    // line one height lower.
    auto texts = f.draw(a).of(Op::Text);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0]->text.text, "one");
    EXPECT_EQ(texts[1]->text.text, "two");
    EXPECT_EQ(texts[0]->text.pixelSize, 5);
    EXPECT_EQ(texts[0]->matrix, (Matrix{1, -0.0, 0, 1, 20, 55}));
    EXPECT_EQ(texts[1]->matrix, (Matrix{1, -0.0, 0, 1, 20, 60}));
    EXPECT_EQ(f.s.calls.back().op, Op::ResetTransform);

    // A multi-line text hangs from its insertion point.
    f.m.polys[i].ismtext = true;
    texts = f.draw(a).of(Op::Text);
    EXPECT_EQ(texts[0]->matrix.dy, 60);
    EXPECT_EQ(texts[1]->matrix.dy, 65);

    // Rotated by 90 degrees: the text runs upwards, the lines step to the right.
    f.m.polys[i].ismtext = false;
    f.m.polys[i].rotation = 90;
    texts = f.draw(a).of(Op::Text);
    const Matrix& m0 = texts[0]->matrix;
    EXPECT_NEAR(m0.m11, 0, 1e-12);
    EXPECT_NEAR(m0.m12, -1, 1e-12);
    EXPECT_NEAR(m0.m21, 1, 1e-12);
    EXPECT_NEAR(m0.dx, 15, 1e-12);
    EXPECT_NEAR(m0.dy, 60, 1e-12);
    EXPECT_NEAR(texts[1]->matrix.dx, 20, 1e-12);

    // Mirrored extrusion: the rotation turns the other way and the y axis flips, so the
    // glyphs hang below the baseline (rows 60 to 65) and the lines step upwards on the
    // screen. The first line was placed above the baseline, two text heights off.
    f.m.polys[i].rotation = 0;
    f.m.polys[i].ext230 = -1;
    texts = f.draw(a).of(Op::Text);
    EXPECT_EQ(texts[0]->matrix.m22, -1);
    EXPECT_EQ(texts[0]->matrix.dy, 65);
    EXPECT_EQ(texts[1]->matrix.dy, 60);

    // Selected: outlines stroked with the entity pen, none on paper.
    f.m.polys[i].ext230 = 0;
    f.m.polys[i].selected = true;
    EXPECT_TRUE(f.draw(a).of(Op::Text).empty());
    auto outlines = f.s.of(Op::Stroke);
    ASSERT_EQ(outlines.size(), 2u);
    EXPECT_EQ(outlines[0]->path.texts, (std::vector<TextItem>{{"one", 5, 0, 0}}));
    a.forprint = true;
    EXPECT_EQ(f.draw(a).of(Op::Text).size(), 2u);
}

TEST(Drawpolys, TextHeightsAndMissingVertex)
{
    struct Case { double radius; int vertices; double wantPx; };  // wantPx 0: nothing drawn
    const Case cases[] = {{0, 1, 1}, {0.2, 1, 1}, {-3, 1, 0}, {2, 0, 0},
                          {std::numeric_limits<double>::quiet_NaN(), 1, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.radius);
        Fixture f;
        model::tpoly t = poly({});
        for (int k = 0; k < c.vertices; ++k)
            t.ps.edit().push_back(pt(1, 1));
        t.anzp = c.vertices;
        t.textstr = "x";
        t.radius = c.radius;
        f.add(t);
        auto texts = f.draw().of(Op::Text);
        if (c.wantPx == 0) {
            EXPECT_TRUE(texts.empty());
        } else {
            ASSERT_EQ(texts.size(), 1u);
            EXPECT_EQ(texts[0]->text.pixelSize, c.wantPx);
        }
    }
}

TEST(Drawpolys, BlockInsertsPlaceMembersAtTheInsertionPoint)
{
    Fixture f;
    model::tpoly member = poly({pt(10, 0), pt(10, 5)});
    member.isblock = true, member.theblockname = "B", member.blockbasex = 10;
    f.add(member);
    f.add(insertOf("B", 100, 0));
    f.add(insertOf("nothing", 0, 0));
    auto strokes = f.draw().of(Op::Stroke);
    ASSERT_EQ(strokes.size(), 1u);
    EXPECT_EQ(points(strokes[0]->path), (std::vector<std::pair<double, double>>{{100, 100}, {100, 95}}));
}

TEST(Drawpolys, BlockInsertingItselfIsDrawnOnce)
{
    // A inserts itself and B; B inserts A. Each block is drawn once per chain.
    Fixture f;
    model::tpoly inA = line(0, 0, 1, 0, 1);
    inA.isblock = true, inA.theblockname = "A";
    f.add(inA);
    for (const char* target : {"A", "B"}) {
        model::tpoly i = insertOf(target, 0, 0);
        i.isblock = true, i.theblockname = "A";
        f.add(i);
    }
    model::tpoly inB = line(0, 0, 1, 0, 5);
    inB.isblock = true, inB.theblockname = "B";
    f.add(inB);
    model::tpoly bToA = insertOf("A", 0, 0);
    bToA.isblock = true, bToA.theblockname = "B";
    f.add(bToA);
    f.add(insertOf("A", 0, 0));
    EXPECT_EQ(f.strokeColours(), (std::vector<Rgb>{red, blue}));
    // Culling computes block extents the same way without recursing.
    RenderCache cache;
    cache.build(f.m, 96, true);
    const PixelRect all{0, 0, 200, 200};
    f.s.calls.clear();
    Drawpolys(f.s, f.m, Fixture::args(), cache, &all);
    EXPECT_EQ(f.s.of(Op::Stroke).size(), 2u);
}

TEST(Drawpolys, ViewportClipsAndShowsTheModel)
{
    Fixture f;
    f.add(line(0, 0, 10, 0, 1));  // model space
    model::tpoly vp = poly({pt(40, 40), pt(60, 40)}, 2);
    vp.ispaperspace = true, vp.isviewport = true, vp.viewid = 2;
    vp.cx = 50, vp.cy = 40, vp.widx = 20, vp.widy = 10;
    vp.panx = 5, vp.pany = 0, vp.viewheight = 5;  // k = 2
    const int v = f.add(vp);
    DrawArgs a = Fixture::args();
    a.showmodel = false;
    a.showmodelforcolor = false;
    a.paintbox1height = 201;
    f.draw(a);
    auto clips = f.s.of(Op::Clip);
    ASSERT_EQ(clips.size(), 1u);
    EXPECT_EQ(points(clips[0]->path),
              (std::vector<std::pair<double, double>>{{40, 165}, {60, 165}, {60, 155}, {40, 155}, {40, 165}}));
    auto strokes = f.s.of(Op::Stroke);
    ASSERT_EQ(strokes.size(), 2u);
    // The model point (5, 0) lies at the viewport centre (50, 40), scaled by 2.
    EXPECT_EQ(points(strokes[1]->path), (std::vector<std::pair<double, double>>{{40, 160}, {60, 160}}));
    EXPECT_EQ(strokes[1]->pen.color, red);
    EXPECT_EQ(f.s.calls.back().op, Op::Restore);

    // Without a view height: the layout's own scale, shifted by centre minus view centre.
    f.m.polys[v].viewheight = 0;
    strokes = f.draw(a).of(Op::Stroke);
    ASSERT_EQ(strokes.size(), 2u);
    EXPECT_EQ(points(strokes[1]->path), (std::vector<std::pair<double, double>>{{45, 160}, {55, 160}}));

    // A viewport in model space does not draw the model again.
    f.m.polys[v].ispaperspace = false;
    f.m.polys[v].viewheight = 5;
    a.showmodel = true;
    EXPECT_TRUE(f.draw(a).of(Op::Clip).empty());

    // Viewport 1 is the sheet itself: no contents.
    f.m.polys[v].ispaperspace = true;
    f.m.polys[v].viewid = 1;
    a.showmodel = false;
    EXPECT_TRUE(f.draw(a).of(Op::Clip).empty());
}

TEST(Drawpolys, GripsOnSelectedEntities)
{
    Fixture f;
    model::tpoly p = poly({pt(10, 10), pt(20, 10), pt(30, 10)});
    for (auto& v : p.ps.edit())
        v.donotdraw = true, v.linex = 7;
    p.ps.edit()[1].linex = 0;  // a computed point has no grip
    p.selected = true;
    const int i = f.add(p);
    DrawArgs a = Fixture::args();
    f.draw(a);
    auto rects = f.s.of(Op::FillRect);
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_EQ(std::make_tuple(rects[0]->x, rects[0]->y, rects[0]->w, rects[0]->h, rects[0]->color),
              std::make_tuple(5, 85, 10, 10, blue));
    auto outlines = f.s.of(Op::StrokeRect);
    ASSERT_EQ(outlines.size(), 2u);
    EXPECT_EQ(outlines[1]->x, 25);
    EXPECT_EQ(outlines[1]->pen.color, black);
    for (const Call* c : f.s.of(Op::Stroke))
        EXPECT_TRUE(c->path.empty());  // all vertices donotdraw: no outline

    a.forprint = true;
    EXPECT_TRUE(f.draw(a).of(Op::FillRect).empty());

    // Viewport grips 5, 6, 7 are icons.
    model::tpoly vp = poly({});
    for (int k = 0; k < 8; ++k) {
        vp.ps.edit().push_back(pt(k * 10, 0));
        vp.ps.edit().back().linex = 1;
    }
    vp.anzp = 8;
    vp.isviewport = true, vp.viewid = 3, vp.selected = true;
    f.m.polys[i] = vp;
    a.forprint = false;
    a.showmodel = false;
    f.m.polys[i].ispaperspace = true;
    f.draw(a);
    auto icons = f.s.of(Op::Icon);
    ASSERT_EQ(icons.size(), 3u);
    EXPECT_EQ(std::make_tuple(icons[0]->w, icons[0]->x, icons[0]->y), std::make_tuple(0, 42, 92));
    EXPECT_EQ(icons[2]->w, 2);
    EXPECT_EQ(f.s.of(Op::FillRect).size(), 5u);
}

TEST(Drawpolys, SkipsOnlyWhatCannotTouchTheVisibleArea)
{
    // Each entity lies outside a 100 x 100 area except for its pen, text or arrow reach.
    Fixture f;
    f.add(line(300, 50, 400, 50, 1));            // far right: skipped
    f.add(line(-50, -20, -50, 150, 2));          // left, and out of reach
    model::tpoly wide = line(-3, 0, -3, 100, 3);  // 3 px left, 10 px pen
    wide.linweightpresent = true;
    wide.lineweight = 127;
    f.add(wide);
    model::tpoly text = poly({pt(-20, 50)}, 4);  // long text reaching in from the left
    text.textstr = "a long text reaching in";
    text.radius = 3;
    f.add(text);
    model::tpoly pl = line(-5, 50, -2, 50, 5);   // polyline width 8 units reaches in
    pl.setwidonce = true, pl.thewid = 8;
    f.add(pl);
    model::tpoly selected = line(-8, 50, -8, 60, 6);  // grip squares reach in
    selected.selected = true;
    selected.ps.edit()[0].linex = 1;
    f.add(selected);

    DrawArgs a = Fixture::args();
    const PixelRect area{0, 0, 100, 100};
    RenderCache cache;
    cache.build(f.m, a.dpi1, a.showweight);
    f.s.calls.clear();
    Drawpolys(f.s, f.m, a, cache, &area);
    std::vector<Rgb> drawn;
    for (const Call& c : f.s.calls)
        if ((c.op == Op::Stroke && !c.path.empty()) || c.op == Op::Text)
            drawn.push_back(c.op == Op::Text ? c.color : c.pen.color);
    EXPECT_EQ(drawn, (std::vector<Rgb>{{0, 255, 0}, {0, 255, 255}, blue, {255, 0, 255}}));
}
