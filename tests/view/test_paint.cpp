// The paint cycle and the printed page, checked as calls on the recording surface.
#include <gtest/gtest.h>

#include "view/RecordingSurface.h"
#include "view/paint.h"

using namespace kerbon;
using namespace kerbon::view;
using Op = Call::Op;
using Kind = Path::Elem::Kind;

namespace {

const Rgb black{0, 0, 0}, white{255, 255, 255}, grey{192, 192, 192}, red{255, 0, 0};

model::tpoly line(double x1, double y1, double x2, double y2, int color, int32_t layhan)
{
    model::tpoly p;
    std::vector<model::Tmypoi>& ps = p.ps.edit();
    ps.resize(2);
    ps[0].x = x1, ps[0].y = y1, ps[1].x = x2, ps[1].y = y2;
    p.anzp = 2;
    p.colorispresent = true;
    p.colornr = color;
    p.layhan = layhan;
    return p;
}

// A drawing with a model layout (0x1F) and one paper layout (0x22) whose block is
// "*Paper_Space": a colour-7 line on each, and a red member of the paper block.
model::DisplayModel twoTabs()
{
    model::DisplayModel m;
    model::Tlayout modelTab, paperTab;
    modelTab.name = "Model", modelTab.layhan = 0x1F;
    paperTab.name = "Layout1", paperTab.layhan = 0x22;
    m.layouts = {modelTab, paperTab};
    m.blocks = {{"*Paper_Space", 0, 0x22}};
    m.polys = {line(0, 0, 10, 0, 7, 0x1F), line(0, 5, 10, 5, 7, 0x22), line(0, 9, 10, 9, 1, 0x22)};
    m.polys[1].ispaperspace = true;
    m.polys[2].isblock = true, m.polys[2].theblockname = "*Paper_Space";
    m.anzpoly = 3;
    return m;
}

// 200 x 150 area at zoom 100 with the start scroll positions: drawing (u, v) lies at
// pixel (u + 20, 129 - v).
ViewState area(int tab)
{
    ViewState v;
    v.W = 200, v.H = 150;
    v.tabindex = tab;
    return v;
}

// A page of 100 x 50 mm: at this resolution a printer pixel is one millimetre.
PageValues page100x50()
{
    PageValues p;
    p.dpi = 25.39995;
    p.pagewidth = 100, p.pageheight = 50;
    return p;
}

std::vector<std::pair<double, double>> points(const Path& path)
{
    std::vector<std::pair<double, double>> out;
    for (const Path::Elem& e : path.elems)
        if (e.kind == Kind::MoveTo || e.kind == Kind::LineTo)
            out.push_back({e.x, e.y});
    return out;
}

using Points = std::vector<std::pair<double, double>>;

std::vector<Rgb> entityColours(const RecordingSurface& s, size_t from)
{
    std::vector<Rgb> out;
    for (size_t i = from; i < s.calls.size(); ++i)
        if (s.calls[i].op == Op::Stroke)
            out.push_back(s.calls[i].pen.color);
    return out;
}

}  // namespace

TEST(PaintBox1Paint, ModelTabWhiteWithAxesAtTheOrigin)
{
    model::DisplayModel m = twoTabs();
    RecordingSurface s;
    PaintBox1Paint(s, m, area(0), page100x50(), {});
    ASSERT_GE(s.calls.size(), 2u);
    EXPECT_EQ(s.calls[0].op, Op::FillRect);
    EXPECT_EQ(std::make_tuple(s.calls[0].w, s.calls[0].h, s.calls[0].color), std::make_tuple(200, 150, white));
    // Axes: the x axis runs from 5 pixels right of the origin's left to 47, black, 1 pixel.
    auto strokes = s.of(Op::Stroke);
    ASSERT_GE(strokes.size(), 3u);
    EXPECT_EQ(points(strokes[0]->path)[0], std::make_pair(15.0, 129.0));
    EXPECT_EQ(points(strokes[0]->path)[1], std::make_pair(67.0, 129.0));
    EXPECT_EQ(strokes[0]->pen, Pen{});
    EXPECT_EQ(strokes[1]->pen.color, (Rgb{155, 155, 155}));
    auto texts = s.of(Op::Text);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0]->text.text, "X");
    EXPECT_EQ(texts[0]->text.x, 20 + 65);
    // The model line only, black on white.
    EXPECT_EQ(strokes.size(), 3u);
    EXPECT_EQ(points(strokes[2]->path), (Points{{20, 129}, {30, 129}}));
    EXPECT_EQ(strokes[2]->pen.color, black);

    // With the origin near the top edge the symbol moves to the lower-left corner.
    ViewState v = area(0);
    v.scrolly = -6000;  // origin on row 209: out of view
    s.calls.clear();
    PaintBox1Paint(s, m, v, page100x50(), {});
    EXPECT_EQ(points(s.of(Op::Stroke)[0]->path)[0], std::make_pair(15.0 + 5, 150.0 - 16));

    // While a zoom operation runs, nothing is drawn.
    v.donotdrawnow = true;
    s.calls.clear();
    PaintBox1Paint(s, m, v, page100x50(), {});
    EXPECT_TRUE(s.calls.empty());
}

TEST(PaintBox1Paint, LayoutTabBlackSheetWithWhiteBorder)
{
    model::DisplayModel m = twoTabs();
    RecordingSurface s;
    PageValues page = page100x50();
    page.rand = 5;
    PaintBox1Paint(s, m, area(1), page, {});
    EXPECT_EQ(s.calls[0].color, grey);
    auto fills = s.of(Op::Fill);
    auto strokes = s.of(Op::Stroke);
    ASSERT_EQ(fills.size(), 2u);
    // Paper from (-5, -5) to (95, 45); printable area inset by the margin: (0, 0) to (90, 40).
    EXPECT_EQ(points(fills[0]->path), (Points{{15, 84}, {115, 84}, {115, 134}, {15, 134}, {15, 84}}));
    EXPECT_EQ(fills[0]->brush.color, black);
    EXPECT_EQ(strokes[0]->pen.color, white);
    EXPECT_EQ(points(fills[1]->path), (Points{{20, 89}, {110, 89}, {110, 129}, {20, 129}, {20, 89}}));
    EXPECT_FALSE(strokes[1]->pen.dashes.empty());
    EXPECT_TRUE(s.of(Op::Text).empty());  // no axes symbol
    EXPECT_TRUE(s.of(Op::Clip).empty());
    // The paper-space line white on the black sheet, then the paper block's member.
    EXPECT_EQ(entityColours(s, 0), (std::vector<Rgb>{white, white, white, red}));

    // 2 mm per unit halves the sheet in drawing units.
    page.rand = 0;
    page.mm = 2;
    s.calls.clear();
    PaintBox1Paint(s, m, area(1), page, {});
    EXPECT_EQ(points(s.of(Op::Fill)[0]->path)[1], std::make_pair(70.0, 129.0 - 25));
}

TEST(PaintBox1Paint, PrintPreviewOnTheModelTabClipsToThePrintableArea)
{
    model::DisplayModel m = twoTabs();
    RecordingSurface s;
    PageValues page = page100x50();
    page.rand = 10;
    DisplayOptions opt;
    opt.printPreview = true;
    opt.showLineweights = false;
    m.polys[0].linweightpresent = true;
    m.polys[0].lineweight = 100;
    PaintBox1Paint(s, m, area(0), page, opt);
    EXPECT_EQ(s.calls[0].color, grey);
    EXPECT_EQ(s.of(Op::Fill)[0]->brush.color, white);
    EXPECT_EQ(s.of(Op::Stroke)[0]->pen.color, black);
    auto clips = s.of(Op::Clip);
    ASSERT_EQ(clips.size(), 1u);
    EXPECT_TRUE(clips[0]->replace);
    EXPECT_EQ(points(clips[0]->path), (Points{{20, 99}, {100, 99}, {100, 129}, {20, 129}, {20, 99}}));
    EXPECT_TRUE(s.of(Op::Text).empty());
    const auto strokes = s.of(Op::Stroke);
    EXPECT_EQ(strokes.back()->pen.width, 1);  // line weights off
    EXPECT_EQ(strokes.back()->pen.color, black);
}

TEST(printPage, PlacesTheOriginInsideTheMarginAtThePageScale)
{
    model::DisplayModel m = twoTabs();
    m.polys[0].ps.edit()[1].x = 5;
    m.polys[0].selected = true;
    m.polys[0].ps.edit()[0].linex = 3;
    PageValues page = page100x50();
    page.rand = 10;
    page.mm = 10;  // 10 mm per unit: the 5-unit line prints 50 mm long
    RecordingSurface s;
    printPage(s, m, 0, page, {});
    auto clips = s.of(Op::Clip);
    ASSERT_EQ(clips.size(), 1u);
    EXPECT_EQ(points(clips[0]->path), (Points{{10, 10}, {89, 10}, {89, 39}, {10, 39}, {10, 10}}));
    auto strokes = s.of(Op::Stroke);
    ASSERT_EQ(strokes.size(), 1u);
    EXPECT_EQ(points(strokes[0]->path), (Points{{10, 39}, {60, 39}}));
    EXPECT_TRUE(strokes[0]->pen.dashes.empty());  // no selection marks on paper
    EXPECT_TRUE(s.of(Op::FillRect).empty());
    EXPECT_EQ(s.calls.back().op, Op::Restore);

    // A layout tab prints colour 7 black; the paper block of the first layout is not drawn.
    s.calls.clear();
    page.mm = 1;
    printPage(s, m, 1, page, {});
    EXPECT_EQ(entityColours(s, 0), (std::vector<Rgb>{black}));
}
