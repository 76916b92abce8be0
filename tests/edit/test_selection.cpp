// Snapping, picking, window selection and the selection commands, at exact pixels; the
// pick index against the walk over every object on random drawings.
#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "edit/EditorFixture.h"
#include "dxf/placement.h"
#include "edit/PickIndex.h"
#include "edit/selection.h"
#include "edit/snapping.h"

using namespace kerbon;
using kerbon::test::EditorFixture;
using kerbon::test::entitiesOnly;

namespace {

// A view in which drawing units are pixels: pixel x = x, pixel y = 99 - y.
view::ViewState unitView()
{
    view::ViewState v;
    v.zoomedvalue = 100;
    v.scrollx = v.scrolly = 0;
    v.W = 200;
    v.H = 100;
    return v;
}

std::string line(double x1, double y1, double x2, double y2, const char* layer = "0")
{
    std::ostringstream s;
    s << "0|LINE|8|" << layer << "|10|" << x1 << "|20|" << y1 << "|11|" << x2 << "|21|" << y2
      << "|";
    return s.str();
}

struct Drawing : EditorFixture {
    // `blocks`: a BLOCKS section before the entities, or nothing.
    explicit Drawing(const std::string& body, const std::string& blocks = "")
    {
        std::string text = body;
        if (!text.empty() && text.back() == '|')
            text.pop_back();
        setText(blocks + entitiesOnly(text));
        ed.view = unitView();
    }
    model::tpoly& obj(int i) { return ed.model.polys[size_t(i)]; }
    LayoutFilter filter() const { return ed.layoutFilter(); }
};

}  // namespace

TEST(SnapPoints, TakesTheNearestPointInTheBoxAndAlignsToTheReference)
{
    // Object 0 ends at (50, 50), object 1 at (52, 50): a mouse between them is as near to
    // both; object 2's bulged segment has its centre (30, 20) as a snap point only.
    Drawing d(line(10, 10, 50, 50) + line(52, 50, 90, 10) +
              "0|LWPOLYLINE|8|0|90|2|70|0|10|20|20|20|42|1|10|40|20|20|");
    struct Case {
        const char* what;
        double refx, refy, x, y;
        bool ctrl;
        bool setted;
        double rx, ry, ex, ey;
    };
    const Case cases[] = {
        {"tie: the earlier object wins", 51, 49, 51, 49, false, true, 50, 49, 50, 50},
        {"exactly 5 pixels on one axis", 95, 89, 95, 89, false, true, 90, 89, 90, 10},
        {"6 pixels on one axis", 96, 89, 96, 89, false, false, 96, 89, 0, 0},
        {"Ctrl: the raw pixel", 50, 49, 51, 50, true, false, 51, 50, 0, 0},
        {"centre of a bulge", 31, 78, 31, 78, false, true, 30, 79, 30, 20},
        // Nothing near: only the alignment to the reference (100, 60).
        {"3 right and 40 below", 100, 60, 103, 100, false, false, 100, 100, 0, 0},
        {"30 right and 32 above", 100, 60, 130, 28, false, false, 130, 30, 0, 0},
        {"exactly 5 off the row", 100, 60, 150, 65, false, false, 150, 60, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (bool indexed : {false, true}) {
            PickIndex index;
            index.build(d.ed.model);
            const SnapResult r = SnapPoints(d.ed.model, d.filter(), d.ed.view, c.refx, c.refy,
                                            c.x, c.y, c.ctrl, indexed ? &index : nullptr);
            EXPECT_EQ(r.setted, c.setted);
            EXPECT_EQ(r.x, c.rx);
            EXPECT_EQ(r.y, c.ry);
            if (c.setted) {
                EXPECT_EQ(r.ex, c.ex);
                EXPECT_EQ(r.ey, c.ey);
                EXPECT_EQ(r.marker[0].x1, int(c.rx) - 5);
                EXPECT_EQ(r.marker[0].y1, int(c.ry) - 5);
                EXPECT_EQ(r.marker[2].x1, int(c.rx) + 5);
                EXPECT_EQ(r.marker[3].y2, int(c.ry) - 5);
            }
        }
    }
}

TEST(SnapPoints, SkipsOtherLayoutsAndForeignBlocksButNotLockedOrHiddenLayers)
{
    EditorFixture f;
    f.setText(
        "0|SECTION|2|TABLES|0|TABLE|2|LAYER|0|LAYER|2|Zu|70|4|62|7|0|LAYER|2|Aus|70|0|62|-7|"
        "0|ENDTAB|0|ENDSEC|"
        "0|SECTION|2|BLOCKS|0|BLOCK|2|B|10|0|20|0|" + line(60, 60, 61, 61) + "0|ENDBLK|0|ENDSEC|"
        "0|SECTION|2|ENTITIES|" + line(10, 10, 11, 11, "Zu") + line(30, 30, 31, 31, "Aus") +
        "0|LINE|67|1|8|0|10|40|20|40|11|41|21|41|0|ENDSEC|0|EOF");
    f.ed.view = unitView();
    auto snapsAt = [&](double x, double y) {
        return f.ed.SnapPoints(x, 99 - y, x, 99 - y, false).setted;
    };
    EXPECT_TRUE(snapsAt(10, 10));   // locked layer
    EXPECT_TRUE(snapsAt(30, 30));   // switched-off layer
    EXPECT_FALSE(snapsAt(40, 40));  // paper space
    EXPECT_FALSE(snapsAt(60, 60));  // block member
    f.ed.view.tabindex = 1;
    EXPECT_TRUE(snapsAt(40, 40));
    EXPECT_FALSE(snapsAt(10, 10));
}

TEST(SnapPoints, InsertsOfferTheirBlocksPointsWhereTheyArePlaced)
{
    // Block B: a line from (1, 1) to (3, 1). Inserted at (50, 20), doubled and turned by
    // 90, it shows from (48, 22) to (48, 26).
    Drawing d("0|INSERT|8|0|2|B|10|50|20|20|41|2|42|2|50|90",
              "0|SECTION|2|BLOCKS|0|BLOCK|2|B|10|0|20|0|" + line(1, 1, 3, 1) + "0|ENDBLK|0|ENDSEC|");
    for (bool indexed : {false, true}) {
        SCOPED_TRACE(indexed);
        PickIndex index;
        index.build(d.ed.model);
        auto snap = [&](double x, double y) {
            return SnapPoints(d.ed.model, d.filter(), d.ed.view, x, 99 - y, x, 99 - y, false,
                              indexed ? &index : nullptr);
        };
        const SnapResult end = snap(47, 27);
        ASSERT_TRUE(end.setted);
        EXPECT_EQ(end.ex, 48);
        EXPECT_EQ(end.ey, 26);
        EXPECT_TRUE(snap(51, 19).setted);   // the insertion point
        EXPECT_FALSE(snap(3, 1).setted);    // where the block lies unplaced
    }
}

TEST(Pick, GripsSegmentsShiftAndDrags)
{
    // Objects 0 and 1 share the segment (10,50)-(60,50); object 2 is a line to the right.
    Drawing d(line(10, 50, 60, 50) + line(10, 50, 60, 50) + line(100, 50, 150, 50));
    const LayoutFilter f = d.filter();
    const view::ViewState& v = d.ed.view;
    auto pick = [&](double x, double y, bool shift = false) {
        return pickAt(d.ed.model, f, v, x, 99 - y, shift).outcome;
    };

    // 4 pixels beyond the end of an unselected line, on its extension: nothing.
    EXPECT_EQ(pick(154, 50), PickOutcome::NothingHit);
    EXPECT_FALSE(d.obj(2).selected);
    // The same press with the line selected hits its grip.
    d.obj(2).selected = true;
    const PickResult g = pickAt(d.ed.model, f, v, 154, 49, false);
    EXPECT_EQ(g.outcome, PickOutcome::GripDrag);
    EXPECT_EQ(g.moveobjnr, 2);
    EXPECT_EQ(g.movepointnr, 1);
    EXPECT_EQ(g.linesx, 150);
    EXPECT_EQ(g.linesy, 50);
    // Shift on a selected object deselects it without a drag.
    EXPECT_EQ(pick(125, 51, true), PickOutcome::SelectionChanged);
    EXPECT_FALSE(d.obj(2).selected);
    // A press on an unselected object's grip selects it and finds it selected on the
    // segment pass: a move drag at once.
    EXPECT_EQ(pick(100, 50), PickOutcome::MoveDrag);
    EXPECT_TRUE(d.obj(2).selected);

    // A shared segment: both unselected are both selected, no drag.
    EXPECT_EQ(pick(30, 51), PickOutcome::SelectionChanged);
    EXPECT_TRUE(d.obj(0).selected && d.obj(1).selected);
    // Unselected first, selected second: the first is selected and the drag starts.
    d.obj(0).selected = false;
    EXPECT_EQ(pick(30, 48), PickOutcome::MoveDrag);
    EXPECT_TRUE(d.obj(0).selected);
    // Selected first: the drag starts there and the second stays unselected.
    d.obj(1).selected = false;
    EXPECT_EQ(pick(30, 52), PickOutcome::MoveDrag);
    EXPECT_FALSE(d.obj(1).selected);
    // Distance 3 from the segment is no hit, 2.9 is.
    d.ed.Nichtsauswhlen1Click();
    EXPECT_EQ(pick(125, 53), PickOutcome::NothingHit);
    EXPECT_EQ(pick(125, 52.9), PickOutcome::SelectionChanged);
}

TEST(Pick, LockedObjectsAndOtherLayoutsTakeNoPart)
{
    EditorFixture f;
    f.setText("0|SECTION|2|TABLES|0|TABLE|2|LAYER|0|LAYER|2|Zu|70|4|0|ENDTAB|0|ENDSEC|"
              "0|SECTION|2|ENTITIES|" + line(10, 10, 50, 10, "Zu") +
              "0|LINE|67|1|8|0|10|10|20|30|11|50|21|30|0|ENDSEC|0|EOF");
    f.ed.view = unitView();
    EXPECT_EQ(f.ed.pick(30, 89, false).outcome, PickOutcome::NothingHit);
    EXPECT_EQ(f.ed.pick(30, 69, false).outcome, PickOutcome::NothingHit);
    f.ed.AllesAuswhlen1Click();
    EXPECT_FALSE(f.ed.IsSelected());
    f.ed.view.tabindex = 1;
    EXPECT_EQ(f.ed.pick(30, 69, false).outcome, PickOutcome::SelectionChanged);
    EXPECT_TRUE(f.ed.IsSelected());
    f.ed.view.tabindex = 0;
    EXPECT_TRUE(f.ed.IsSelected());  // the block test alone: paper space counts
    f.ed.Nichtsauswhlen1Click();     // clears every layout
    EXPECT_FALSE(f.ed.model.polys[1].selected);
}

TEST(MassSelect, CatchesObjectsWithATestedVertexInside)
{
    // A long polyline, a line crossing the window without a vertex in it, and a closed
    // polyline whose closing segment alone has an end inside.
    Drawing d("0|LWPOLYLINE|8|0|90|3|70|0|10|0|20|0|10|100|20|0|10|100|20|80|" +
              line(0, 40, 200, 40) +
              "0|LWPOLYLINE|8|0|90|2|70|1|10|150|20|10|10|180|20|10|");
    const LayoutFilter f = d.filter();
    const view::ViewState& v = d.ed.view;
    // Window around (100, 80) only.
    EXPECT_EQ(MassSelect(d.ed.model, f, v, 95, 99 - 85, 105, 99 - 75, false), 1);
    EXPECT_TRUE(d.obj(0).selected);
    // Around the middle of the crossing line: no vertex inside.
    EXPECT_EQ(MassSelect(d.ed.model, f, v, 90, 99 - 45, 110, 99 - 35, false), 0);
    // Corners in any order; edges count.
    EXPECT_EQ(MassSelect(d.ed.model, f, v, 185, 99 - 5, 180, 99 - 10, false), 1);
    EXPECT_TRUE(d.obj(2).selected);
    // With Shift the caught objects are deselected.
    EXPECT_EQ(markMassSelection(d.ed.model, f, v, -5, -5, 300, 300), 3);
    EXPECT_EQ(MassSelect(d.ed.model, f, v, -5, -5, 300, 300, true), 3);
    EXPECT_FALSE(d.obj(0).selected || d.obj(2).selected);
    EXPECT_TRUE(d.obj(0).massselected);
    d.ed.Nichtsauswhlen1Click();
    EXPECT_FALSE(d.obj(0).massselected);
}

// Blocks for the random drawings: plain, nested, one that inserts itself, and one whose
// members lie far apart.
const char* const kBlocks =
    "0|SECTION|2|BLOCKS|0|BLOCK|2|B1|10|5|20|5|"
    "0|LINE|8|0|10|5|20|5|11|15|21|8|0|ARC|8|0|10|8|20|5|40|3|50|0|51|120|0|ENDBLK|"
    "0|BLOCK|2|B2|10|0|20|0|0|INSERT|8|0|2|B1|10|2|20|2|50|30|0|CIRCLE|8|0|10|0|20|0|40|2|"
    "0|ENDBLK|"
    "0|BLOCK|2|B3|10|0|20|0|0|LINE|8|0|10|0|20|0|11|3|21|0|0|INSERT|8|0|2|B3|10|4|20|0|0|ENDBLK|"
    "0|BLOCK|2|B4|10|0|20|0|0|LINE|8|0|10|0|20|0|11|1|21|0|0|CIRCLE|8|0|10|300|20|200|40|2|"
    "0|INSERT|8|0|2|B1|10|-150|20|80|41|0.5|0|ENDBLK|"
    "0|ENDSEC|";

// The index must give exactly what the walk over every object gives: random drawings with
// clusters, repeated points (ties), curves, inserts (turned, scaled, arrays, nested),
// huge values, at random views and positions.
TEST(PickIndex, GivesTheAnswerOfTheWalkOverEveryObject)
{
    std::mt19937 rng(11);
    auto uni = [&rng](double a, double b) { return std::uniform_real_distribution<double>(a, b)(rng); };
    for (int drawing = 0; drawing < 5; ++drawing) {
        SCOPED_TRACE("drawing " + std::to_string(drawing));
        std::ostringstream s;
        const double spread = drawing % 3 == 0 ? 5 : drawing % 3 == 1 ? 200 : 5000;
        for (int i = 0; i < 150; ++i) {
            const double x = std::round(uni(0, spread)), y = std::round(uni(0, spread));
            switch (rng() % 6) {
            case 5:
                s << "0|INSERT|8|0|2|B" << 1 + rng() % 4 << "|10|" << x << "|20|" << y << "|41|"
                  << uni(-2, 2) << "|42|" << uni(0.5, 2) << "|50|" << uni(0, 360) << "|70|"
                  << 1 + rng() % 3 << "|71|" << 1 + rng() % 2 << "|44|" << uni(-20, 20)
                  << "|45|" << uni(-20, 20) << "|";
                break;
            case 0: s << line(x, y, x + std::round(uni(-50, 50)), y + std::round(uni(-50, 50))); break;
            case 1: s << "0|CIRCLE|8|0|10|" << x << "|20|" << y << "|40|" << uni(0.5, 30) << "|"; break;
            case 2:
                s << "0|ARC|8|0|10|" << x << "|20|" << y << "|40|" << uni(1, 30) << "|50|"
                  << uni(0, 360) << "|51|" << uni(0, 360) << "|";
                break;
            case 3:
                s << "0|LWPOLYLINE|8|0|90|3|70|" << rng() % 2 << "|10|" << x << "|20|" << y
                  << "|42|" << uni(-1, 1) << "|10|" << x + 20 << "|20|" << y << "|10|" << x
                  << "|20|" << y + 15 << "|";
                break;
            default: s << line(x, y, x, y + 10); break;  // vertical, often on a shared point
            }
        }
        if (drawing % 4 == 3)  // outline far beyond every pixel, and infinite end points
            s << "0|CIRCLE|8|0|10|0|20|0|40|1e308|0|XLINE|8|0|10|0|20|0|11|1e305|21|0|";
        if (drawing % 4 == 1)
            s << "0|XLINE|8|0|10|3|20|4|11|0.6|21|0.8|";  // drawn 20000 units long
        Drawing d(s.str(), kBlocks);
        const LayoutFilter f = d.filter();
        PickIndex index;
        index.build(d.ed.model);
        for (int q = 0; q < 100; ++q) {
            view::ViewState v = d.ed.view;
            v.zoomedvalue = std::exp(uni(std::log(5.0), std::log(5000.0)));
            v.scrollx = int(uni(-50000, 50000));
            v.scrolly = int(uni(-50000, 50000));
            v.H = 600;
            // Mostly near a vertex, so that hits and ties are common.
            // A point the object shows: one of its vertices, or one its block shows.
            std::vector<std::pair<double, double>> shown;
            anyPlaced(d.ed.model, index.blocks(), int(rng() % unsigned(d.ed.model.anzpoly)),
                      [&](const model::tpoly& p, const Placement& at) {
                          for (int k = 0; k < p.anzp; ++k)
                              shown.emplace_back(at.mapX(p.ps[size_t(k)].x, p.ps[size_t(k)].y),
                                                 at.mapY(p.ps[size_t(k)].x, p.ps[size_t(k)].y));
                          return shown.size() > 200;
                      });
            double X = uni(-20, 820), Y = uni(-20, 620);
            if (q % 4 != 0 && !shown.empty()) {
                const auto [sx, sy] = shown[rng() % shown.size()];
                const ScreenPos sp = roundedScreen(v, sx, sy);
                X = sp.x + std::round(uni(-7, 7));
                Y = sp.y + std::round(uni(-7, 7));
            }
            const SnapResult a = SnapPoints(d.ed.model, f, v, X + 3, Y - 2, X, Y, false, &index);
            const SnapResult b = SnapPoints(d.ed.model, f, v, X + 3, Y - 2, X, Y, false);
            ASSERT_EQ(a.setted, b.setted);
            ASSERT_EQ(a.x, b.x);
            ASSERT_EQ(a.y, b.y);
            ASSERT_EQ(a.ex, b.ex);
            ASSERT_EQ(a.ey, b.ey);

            model::DisplayModel& m = d.ed.model;
            std::vector<bool> before(size_t(m.anzpoly)), after(size_t(m.anzpoly));
            for (int i = 0; i < m.anzpoly; ++i)
                before[size_t(i)] = rng() % 3 == 0;
            auto pickFrom = [&](PickIndex* with, std::vector<bool>& flags) {
                for (int i = 0; i < m.anzpoly; ++i)
                    m.polys[size_t(i)].selected = before[size_t(i)];
                const PickResult r = pickAt(m, f, v, X, Y, q % 5 == 0, with);
                for (int i = 0; i < m.anzpoly; ++i)
                    flags[size_t(i)] = m.polys[size_t(i)].selected;
                return r;
            };
            std::vector<bool> viaScan(size_t(m.anzpoly));
            const PickResult r1 = pickFrom(&index, after);
            const PickResult r2 = pickFrom(nullptr, viaScan);
            ASSERT_EQ(r1.outcome, r2.outcome);
            ASSERT_EQ(r1.moveobjnr, r2.moveobjnr);
            ASSERT_EQ(r1.movepointnr, r2.movepointnr);
            ASSERT_EQ(after, viaScan);
        }
    }
}

TEST(PickIndex, IsRebuiltWhenTheModelIsParsedAgain)
{
    Drawing d(line(10, 10, 50, 10));
    EXPECT_EQ(d.ed.pick(30, 89, false).outcome, PickOutcome::SelectionChanged);
    d.setText(entitiesOnly(line(10, 30, 50, 30)));
    EXPECT_EQ(d.ed.pick(30, 89, false).outcome, PickOutcome::NothingHit);
    EXPECT_EQ(d.ed.pick(30, 69, false).outcome, PickOutcome::SelectionChanged);
}
