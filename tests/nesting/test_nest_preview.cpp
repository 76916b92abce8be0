// The nesting preview and the moves of the transfer.
#include <gtest/gtest.h>

#include "nest_fixture.h"
#include "nesting/nest_preview.h"
#include "nesting/nest_transfer.h"
#include "view/RecordingSurface.h"

using namespace kerbon;
using namespace kerbon::nest;
using namespace kerbon::nest::test;
using view::Call;
using Kind = view::Path::Elem::Kind;

TEST(NestPreview, SheetSitsInTheLowerLeftCornerScaledToFit)
{
    // Sheet 100 x 50 on 400 x 400 pixels: 4 pixels a unit, the sheet 400 x 200 at the bottom.
    Schachtelung n;
    fill(n, {rect(10, 10, 5, 2), closed({{0, 0}, {1, 0}, {0, 1}})});
    TNestElement& e = *n.elemente.GetObject(0);
    e.x = 20, e.y = 5;  // placed: its corner moves from (10, 10) to (20, 5)
    view::RecordingSurface d;
    paintPreview(d, 400, 400, n, 100, 50);
    const auto rects = d.of(Call::Op::StrokeRect);
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(rects[0]->x, 0);
    EXPECT_EQ(rects[0]->y, 199);
    EXPECT_EQ(rects[0]->w, 400);
    EXPECT_EQ(rects[0]->h, 200);
    EXPECT_EQ(rects[0]->pen.color, (view::Rgb{0, 128, 0}));
    const auto strokes = d.of(Call::Op::Stroke);
    ASSERT_EQ(strokes.size(), 1u);
    const auto& el = strokes[0]->path.elems;
    ASSERT_EQ(el.size(), 9u);  // each contour starts anew; no closing segment is added
    EXPECT_EQ(el[0], (view::Path::Elem{Kind::MoveTo, 80, 379}));
    EXPECT_EQ(el[2], (view::Path::Elem{Kind::LineTo, 100, 371}));
    EXPECT_EQ(el[5], (view::Path::Elem{Kind::MoveTo, 0, 399}));

    // A sheet without a size shows white only.
    view::RecordingSurface blank;
    paintPreview(blank, 400, 400, n, 0, 50);
    EXPECT_EQ(blank.calls.size(), 1u);
}

TEST(NestTransfer, MovesEachElementsObjectsSelectedAlone)
{
    Schachtelung n;
    fill(n, {rect(10, 10, 5, 2), {}});
    TNestElement& a = *n.elemente.GetObject(0);
    a.x = 1, a.y = 2;
    a.objs = {0, 2};  // a part with the hole lying inside it
    TNestElement& b = *n.elemente.GetObject(1);
    b.x = 3, b.y = 4;  // no points: its corner counts as (0, 0)
    b.objs = {1};
    model::DisplayModel m;
    m.polys.resize(3);
    m.anzpoly = 3;
    m.polys[1].selected = true;
    struct Move {
        std::vector<bool> selected;
        double dx, dy;
    };
    std::vector<Move> moves;
    transferInto(m, transferMoves(n), [&](double dx, double dy) {
        std::vector<bool> sel;
        for (const model::tpoly& p : m.polys)
            sel.push_back(p.selected);
        moves.push_back({sel, dx, dy});
    });
    ASSERT_EQ(moves.size(), 2u);
    EXPECT_EQ(moves[0].selected, (std::vector<bool>{true, false, true}));
    EXPECT_EQ(moves[0].dx, -9);
    EXPECT_EQ(moves[0].dy, -8);
    EXPECT_EQ(moves[1].selected, (std::vector<bool>{false, true, false}));
    EXPECT_EQ(moves[1].dx, 3);
    EXPECT_EQ(moves[1].dy, 4);
}
