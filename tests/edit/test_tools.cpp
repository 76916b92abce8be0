// The drawing tools driven press by press without a window: every drawing tool writes what
// its script command writes, by mouse and by typed coordinates; right presses, Escape and
// the right-click menu end the tools as they should; the edit commands, drags and the
// selection window; the rubber band and the values it leaves for the next press.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <random>

#include "dxf/Random.h"
#include "edit/EditorFixture.h"
#include "edit/ToolState.h"
#include "support/RunCli.h"

using namespace kerbon;
using kerbon::test::EditorFixture;

namespace {

constexpr MouseButton kLeft = MouseButton::Left, kRight = MouseButton::Right;

// The first line where two documents differ, or empty when they are equal.
std::string firstDifference(const std::vector<std::string>& a, const std::vector<std::string>& b)
{
    for (size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
        const std::string x = i < a.size() ? a[i] : "(end)", y = i < b.size() ? b[i] : "(end)";
        if (x != y)
            return "line " + std::to_string(i) + ": \"" + x + "\" vs \"" + y + "\"";
    }
    return {};
}

// An editor on a new drawing with its tools, in a view where one drawing unit is `unit`
// pixels and the origin lies at pixel (500, 399).
struct Tools : EditorFixture {
    ToolState tools{ed};
    double unit = 1;
    bool typed = false;  // left presses go through the coordinate entry instead
    bool ctrl = false;   // Ctrl held: no snapping

    explicit Tools(const std::string& drawing = "template1.dat", double pixelsPerUnit = 1)
        : EditorFixture(drawing), unit(pixelsPerUnit)
    {
        ed.view.zoomedvalue = 100 * unit;
        ed.view.scrollx = -50000;
        ed.view.scrolly = 30000;
    }
    double px(double x) const { return 500 + unit * x; }
    double py(double y) const { return 399 - unit * y; }
    MouseEvent at(double x, double y, MouseButton b = kLeft, bool shift = false) const
    {
        MouseEvent e;
        e.button = b;
        e.x = px(x), e.y = py(y);
        e.shift = shift;
        e.ctrl = ctrl;
        return e;
    }
    void move(double x, double y) { tools.PaintBox1MouseMove(px(x), py(y), ctrl); }
    PressAnswer press(double x, double y, MouseButton b = kLeft, bool shift = false)
    {
        if (typed && b == kLeft) {
            tools.BenutzenBtnClick(x, y);
            return PressAnswer::Done;
        }
        move(x, y);
        return tools.PaintBox1MouseDown(at(x, y, b, shift));
    }
    void release(double x, double y, MouseButton b = kLeft) { tools.PaintBox1MouseUp(at(x, y, b)); }
    PressAnswer click(double x, double y, MouseButton b = kLeft, bool shift = false)
    {
        const PressAnswer a = press(x, y, b, shift);
        if (!typed || b != kLeft)
            release(x, y, b);
        return a;
    }
    void clicks(std::initializer_list<std::pair<double, double>> points)
    {
        for (const auto& [x, y] : points)
            click(x, y);
    }
    PressAnswer rightClick(double x, double y) { return click(x, y, kRight); }
    void escape() { tools.keyeditKeyDown(27); }
    // What the script writes on a new drawing.
    static std::vector<std::string> expected(const std::string& script)
    {
        EditorFixture e("template1.dat");
        programRandom().seed(7);
        EXPECT_EQ(test::runScript(e.ed, script), "");
        return e.ed.dxf.lines.strings();
    }
    std::string differsFrom(const std::string& script) const
    {
        return firstDifference(ed.dxf.lines.strings(), expected(script));
    }
};

struct Flow {
    const char* name;
    std::function<void(Tools&)> draw;
    const char* script;
    bool byMouseOnly = false;  // needs right presses or mouse moves
};

const std::vector<Flow>& flows()
{
    static const std::vector<Flow> table = {
        {"line chain", [](Tools& t) {
             t.tools.LineBtnClick();
             t.clicks({{0, 0}, {50, 0}, {50, 30}});
         }, "line 0 0 50 0; line 50 0 50 30"},
        {"polyline closed from the right-click menu", [](Tools& t) {
             t.tools.PolyLineBtnClick();
             t.clicks({{0, 0}, {60, 0}, {60, 40}});
             t.tools.Linienzugschlieen1Click();
         }, "polyline 0 0 60 0 60 40 closed"},
        {"rectangle", [](Tools& t) {
             t.tools.RectangleBtnClick();
             t.clicks({{0, 0}, {40, 30}});
         }, "rect 0 0 40 30"},
        {"polygon", [](Tools& t) {
             t.ed.polygonValues.ecken = 6;
             t.tools.PolyGonClick();
             t.clicks({{100, 100}, {130, 100}});
         }, "polygon 100 100 130 100 6"},
        {"circle by centre and radius", [](Tools& t) {
             t.tools.CircleBtnClick();
             t.clicks({{100, 100}, {125, 100}});
         }, "circle 100 100 25"},
        {"circle by centre and diameter", [](Tools& t) {
             t.tools.MittelpunktDurchmesser1Click();
             t.clicks({{100, 100}, {150, 100}});
         }, "circle 100 100 25"},
        {"circle by 2 points", [](Tools& t) {
             t.tools.N2Punkte1Click();
             t.clicks({{100, 100}, {150, 100}});
         }, "circle 125 100 25"},
        {"circle by 3 points", [](Tools& t) {
             t.tools.N3Punkte1Click();
             t.clicks({{0, 0}, {50, 50}, {100, 0}});
         }, "circle3 0 0 50 50 100 0"},
        {"arc by 3 points", [](Tools& t) {
             t.tools.ArcBtnClick();
             t.clicks({{0, 0}, {50, 40}, {100, 0}});
         }, "arc3 0 0 50 40 100 0"},
        {"arc by start, end, middle", [](Tools& t) {
             t.tools.N3PunkteStartEndeMitte1Click();
             t.clicks({{0, 0}, {100, 0}, {50, 40}});
         }, "arc3 0 0 50 40 100 0"},
        {"arc by centre, start, end", [](Tools& t) {
             t.tools.MittelpunktStart1Click();
             t.clicks({{100, 100}, {130, 100}, {100, 130}});
         }, "arc 100 100 30 0 90"},
        {"ellipse by its axes", [](Tools& t) {
             t.tools.EllipseBtnClick();
             t.clicks({{0, 0}, {100, 0}, {50, 20}});
         }, "ellipse 50 0 50 0 0.4"},
        {"ellipse by its centre", [](Tools& t) {
             t.tools.Mittelpunkt1Click();
             t.clicks({{50, 0}, {100, 0}, {50, 20}});
         }, "ellipse 50 0 50 0 0.4"},
        {"text", [](Tools& t) {
             t.ui.typeText = "Hallo";
             t.tools.TextBtnClick();
             t.click(10, 10);
         }, "text 10 10 0.2 \"Hallo\""},
        {"points", [](Tools& t) {
             t.tools.PointBtnClick();
             t.clicks({{5, 5}, {30, 40}});
         }, "point 5 5; point 30 40"},
        {"solid", [](Tools& t) {
             t.tools.SolidBtnClick();
             t.clicks({{0, 0}, {40, 0}, {0, 30}, {40, 30}});
         }, "solid 0 0 40 0 0 30 40 30"},
        {"dimension", [](Tools& t) {
             t.tools.DimensionBtnClick();
             t.clicks({{0, 0}, {100, 0}, {50, 20}});
         }, "dimension 0 0 100 0 50 20"},
        {"arrow, then a plain segment", [](Tools& t) {
             t.tools.ArrowBtnClick();
             t.clicks({{0, 0}, {50, 30}, {90, 30}});
         }, "arrow 0 0 50 30; line 50 30 90 30"},
        {"spline finished twice", [](Tools& t) {
             t.tools.SplineBtnClick();
             t.clicks({{0, 0}, {30, 40}, {60, 10}, {90, 50}});
             t.tools.Fertig1Click();
             programRandom().seed(7);
             t.tools.Fertig1Click();
         }, "spline 0 0 30 40 60 10 90 50"},
        {"spline closed", [](Tools& t) {
             t.tools.SplineBtnClick();
             t.clicks({{0, 0}, {30, 40}, {60, 10}, {90, 50}});
             t.tools.Linienzugschlieen1Click();
             programRandom().seed(7);
             t.tools.Fertig1Click();
         }, "spline 0 0 30 40 60 10 90 50 closed"},
        {"construction lines from one base point", [](Tools& t) {
             t.tools.Konstruktionslinie1Click();
             t.clicks({{0, 0}, {50, 20}, {-30, 40}});
         }, "xline 0 0 50 20; xline 0 0 -30 40"},
        {"ray", [](Tools& t) {
             t.tools.Strahl1Click();
             t.clicks({{0, 0}, {50, 20}});
         }, "ray 0 0 50 20"},
        {"freehand stroke", [](Tools& t) {
             t.tools.PenBtnClick();
             t.press(0, 0);
             t.move(10, 5);
             t.move(20, 12);
             t.move(30, 25);
             t.release(30, 25);
         }, "polyline 0 0 10 5 20 12 30 25", true},
        {"typed points between the pixels", [](Tools& t) {
             if (!t.typed)
                 return;
             t.tools.LineBtnClick();
             t.clicks({{0.1, 0.2}, {10.35, -4.7}});
         }, "line 0.1 0.2 10.35 -4.7"},
    };
    return table;
}

}  // namespace

// Each tool, pressed point by point, writes exactly the text of its script command: with
// the mouse (a move before every press) and with the coordinate entry (no moves at all).
TEST(ToolFlows, WriteWhatTheScriptCommandsWrite)
{
    for (const bool typed : {false, true})
        for (const Flow& f : flows()) {
            if (typed && f.byMouseOnly)
                continue;
            if (!typed && std::string(f.name).starts_with("typed"))
                continue;
            SCOPED_TRACE(std::string(f.name) + (typed ? " (typed)" : " (mouse)"));
            Tools t;
            t.typed = typed;
            f.draw(t);
            EXPECT_EQ(t.differsFrom(f.script), "");
            EXPECT_TRUE(t.ui.shown.empty()) << t.ui.shown[0].text;
        }
}

// The same flows one after another in one drawing (Ctrl held, so that nothing snaps to
// what the earlier ones drew) give the file `kerbon-cli edit` writes for their commands.
TEST(ToolFlows, OneDrawingOfEveryToolEqualsTheCommandLinesFile)
{
    Tools t;
    t.ctrl = true;
    std::string commands;
    for (const Flow& f : flows()) {
        const std::string name = f.name;
        if (name.starts_with("spline") || name.starts_with("typed"))
            continue;  // splines are fitted with random tries
        f.draw(t);
        t.tools.keyeditKeyDown(27);
        t.ui.typeText.reset();
        commands += std::string(f.script) + "\n";
    }
    test::TempDir tmp;
    const std::string script = tmp.path("tools.txt"), out = tmp.path("cli.dxf");
    test::writeBytes(script, commands);
    const test::CliRun r =
        test::runCli(tmp, "edit new " + test::shq(out) + " --script " + test::shq(script));
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_TRUE(t.ed.SaveFileUnder(tmp.path("tools.dxf")));
    EXPECT_EQ(test::readBytes(tmp.path("tools.dxf")), test::readBytes(out));
}

// Right presses, Escape and tool commands end the tools: what is written then, and which
// button stays down.
TEST(ToolEnds, RightPressesEscapeAndOtherCommands)
{
    using B = ToolButton;
    const struct {
        const char* name;
        std::function<void(Tools&)> act;
        const char* written;  // script of what the document must hold
        ToolButton down;
    } cases[] = {
        {"Escape finishes a polyline as an open one", [](Tools& t) {
             t.tools.PolyLineBtnClick();
             t.clicks({{0, 0}, {40, 0}, {40, 30}});
             t.escape();
         }, "polyline 0 0 40 0 40 30", B::None},
        {"Escape with one polyline point writes nothing", [](Tools& t) {
             t.tools.PolyLineBtnClick();
             t.click(0, 0);
             t.escape();
         }, "", B::None},
        {"Escape cancels a rectangle", [](Tools& t) {
             t.tools.RectangleBtnClick();
             t.click(0, 0);
             t.move(40, 30);
             t.escape();
         }, "", B::None},
        {"another tool cancels a rectangle", [](Tools& t) {
             t.tools.RectangleBtnClick();
             t.click(0, 0);
             t.tools.CircleBtnClick();
             t.click(100, 100);
             t.click(110, 120);
         }, "circle 100 100 22.3606797749979", B::None},
        {"a right press cancels a dimension", [](Tools& t) {
             t.tools.DimensionBtnClick();
             t.click(0, 0);
             t.rightClick(50, 0);
             t.click(50, 20);
         }, "", B::None},
        {"a right press ends a line chain", [](Tools& t) {
             t.tools.LineBtnClick();
             t.clicks({{0, 0}, {50, 0}});
             t.rightClick(80, 40);
             t.click(90, 90);
         }, "line 0 0 50 0", B::None},
        {"a right press with the line tool armed starts a line", [](Tools& t) {
             t.tools.LineBtnClick();
             t.rightClick(0, 0);
             t.click(50, 0);
         }, "line 0 0 50 0", B::None},
        {"the point tool places points until a right press", [](Tools& t) {
             t.tools.PointBtnClick();
             t.clicks({{5, 5}, {30, 40}});
             t.rightClick(60, 60);
             t.click(70, 90);
         }, "point 5 5; point 30 40", B::None},
        {"points stay armed", [](Tools& t) {
             t.tools.PointBtnClick();
             t.click(5, 5);
         }, "point 5 5", B::PointBtn},
        {"a right press after three corners writes a three-corner solid", [](Tools& t) {
             t.tools.SolidBtnClick();
             t.clicks({{0, 0}, {40, 0}, {0, 30}});
             t.rightClick(40, 30);
         }, "solid 0 0 40 0 0 30", B::None},
        {"a right press after two corners writes nothing", [](Tools& t) {
             t.tools.SolidBtnClick();
             t.clicks({{0, 0}, {40, 0}});
             t.rightClick(40, 30);
         }, "", B::None},
        {"a right press releases the freehand pen", [](Tools& t) {
             t.tools.PenBtnClick();
             t.rightClick(0, 0);
         }, "", B::None},
        {"a freehand stroke arms the pen again", [](Tools& t) {
             t.tools.PenBtnClick();
             t.press(0, 0);
             t.move(10, 5);
             t.release(10, 5);
         }, "polyline 0 0 10 5", B::PenBtn},
        {"a middle press draws like a left one", [](Tools& t) {
             t.tools.LineBtnClick();
             t.click(0, 0, MouseButton::Middle);
             t.click(50, 0, MouseButton::Middle);
         }, "line 0 0 50 0", B::None},
        {"a text dialog closed with Abbrechen writes nothing", [](Tools& t) {
             t.ui.typeText = "Hallo";
             t.ui.inputAnswers = {false};
             t.tools.TextBtnClick();
             t.click(10, 10);
         }, "", B::None},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Tools t;
        c.act(t);
        EXPECT_EQ(t.differsFrom(c.written), "");
        EXPECT_EQ(t.tools.down, c.down);
        EXPECT_TRUE(t.ui.shown.empty());
    }
}

TEST(ToolEnds, EscapeWithNothingActiveDeselectsEveryLayoutSplineGoesOnToItsTangents)
{
    Tools t;
    ASSERT_EQ(test::runScript(t.ed, "line 0 0 50 0; polyline 0 10 50 10 50 40"), "");
    for (int i = 0; i < t.ed.model.anzpoly; ++i)
        t.ed.model.polys[size_t(i)].selected = true;
    t.ed.model.polys[0].layhan = -5;  // as if it lay on another layout tab
    t.escape();
    for (int i = 0; i < t.ed.model.anzpoly; ++i)
        EXPECT_FALSE(t.ed.model.polys[size_t(i)].selected);

    // Escape in a spline with three points asks for the tangents instead of finishing.
    t.tools.SplineBtnClick();
    t.clicks({{0, 100}, {30, 140}, {60, 110}});
    const auto lines = t.ed.dxf.lines;
    t.escape();
    EXPECT_TRUE(t.tools.inpoly);
    EXPECT_EQ(t.ed.splinemode, 1);
    EXPECT_EQ(t.ed.dxf.lines, lines);
    // Two tangent clicks write it: its ends are the first and last point clicked.
    t.clicks({{-20, 80}, {90, 130}});
    EXPECT_FALSE(t.tools.inpoly);
    EXPECT_EQ(t.ed.splinemode, 0);
    const model::tpoly& s = t.ed.model.polys[size_t(t.ed.model.anzpoly - 1)];
    ASSERT_GT(s.anzp, 2);
    EXPECT_DOUBLE_EQ(s.ps[0].x, 0);
    EXPECT_DOUBLE_EQ(s.ps[0].y, 100);
    EXPECT_NEAR(s.ps[size_t(s.anzp - 1)].x, 60, 1e-9);
    EXPECT_NEAR(s.ps[size_t(s.anzp - 1)].y, 110, 1e-9);

    // The polyline tool chosen after that writes a polyline, not another spline.
    const size_t objects = size_t(t.ed.model.anzpoly);
    t.tools.PolyLineBtnClick();
    t.clicks({{0, 200}, {40, 200}, {40, 240}});
    EXPECT_TRUE(t.tools.inpoly);
    EXPECT_EQ(size_t(t.ed.model.anzpoly), objects);
}

TEST(ToolEnds, RightPressInAPolylineOpensTheMenuAndArcModeBendsTheNextSegment)
{
    Tools t;
    t.tools.PolyLineBtnClick();
    t.clicks({{0, 0}, {50, 0}, {100, 0}});
    EXPECT_EQ(t.rightClick(120, 0), PressAnswer::OpenPopup);
    t.tools.Kreisbogen2Click();
    // Straight down on the screen from a segment drawn to the right: a half circle.
    t.move(100, -50);
    EXPECT_DOUBLE_EQ(t.tools.lastcalcbulge, std::numbers::pi / 2);
    EXPECT_DOUBLE_EQ(t.ed.polyline0.back().bulge, 1);
    t.click(100, -50);
    t.tools.Fertig1Click();
    std::vector<std::string> bulges;
    const model::tpoly& p = t.ed.model.polys[size_t(t.ed.model.anzpoly - 1)];
    for (int k = p.linefrom; k + 1 <= p.linebis; k += 2)
        if (trimDxf(t.ed.dxf[k]) == "42")
            bulges.push_back(std::string(trimDxf(t.ed.dxf[k + 1])));
    EXPECT_EQ(bulges, std::vector<std::string>{"-1"});  // only the vertex the arc starts at
}

TEST(ToolCommands, VersionChecksOfAnOldDrawing)
{
    Tools t("template0.dat");
    t.tools.LineBtnClick();
    t.tools.SplineBtnClick();          // refused before the line tool is ended
    t.tools.Konstruktionslinie1Click();
    t.tools.Strahl1Click();
    EXPECT_EQ(t.tools.down, ToolButton::LineBtn);
    t.tools.EllipseBtnClick();         // refused after it is ended: nothing is armed
    EXPECT_EQ(t.tools.down, ToolButton::None);
    ASSERT_EQ(t.ui.shown.size(), 4u);
    const int messages[] = {10, 13, 33, 12};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(t.ui.shown[i].text, t.ed.messageText(messages[i]));
        EXPECT_EQ(t.ui.shown[i].icon, MsgIcon::Error);
    }
}

// The edit commands: with a selection they go to their points at once, without one they
// take a selection first (ended by a right press).
TEST(ToolCommands, EditCommandsSelectThenTakeTheirPoints)
{
    const std::string line = "line 0 0 40 0; ";
    const struct {
        const char* name;
        std::function<void(Tools&)> act;
        const char* written;
    } cases[] = {
        {"copy by base and target", [](Tools& t) {
             t.ed.AllesAuswhlen1Click();
             t.tools.CopyBtnClick();
             EXPECT_TRUE(t.tools.incopyline);
             t.clicks({{0, 0}, {10, 25}});
         }, "select all; copy 10 25"},
        {"move, selecting first", [](Tools& t) {
             t.tools.MoveBtnClick();
             EXPECT_TRUE(t.tools.inmoveselect);
             EXPECT_EQ(t.tools.cursor, ToolCursor::Arrow);
             t.click(20, 0);  // picks the line
             t.rightClick(200, 200);
             EXPECT_TRUE(t.tools.inmoveline);
             EXPECT_EQ(t.tools.cursor, ToolCursor::Crosshair);
             t.clicks({{0, 0}, {10, 25}});
             EXPECT_FALSE(t.tools.inmoveline);
         }, "select all; move 10 25"},
        {"rotate by the angle typed (clockwise)", [](Tools& t) {
             t.tools.rotateByKeyboard = true;
             t.ed.rotationValues.rot = 90;
             t.ed.AllesAuswhlen1Click();
             t.tools.RotateBtnClick();
             t.click(0, 0);
             EXPECT_FALSE(t.tools.inrotateline);
         }, "select all; rotate 0 0 -90"},
        {"rotate by the dialog closed with its close box", [](Tools& t) {
             t.tools.rotateByKeyboard = true;
             t.ed.rotationValues.rot = 90;
             t.ui.inputAnswers = {false};
             t.ed.AllesAuswhlen1Click();
             t.tools.RotateBtnClick();
             t.click(0, 0);
         }, "select all; rotate 0 0 -90"},
        {"rotate by a direction point", [](Tools& t) {
             t.ed.AllesAuswhlen1Click();
             t.tools.RotateBtnClick();
             t.clicks({{0, 0}, {0, 30}});
         }, "select all; rotate 0 0 90"},
        {"scale by the factor typed", [](Tools& t) {
             t.ed.scaleValues.skal = 250;
             t.ed.AllesAuswhlen1Click();
             t.tools.ScaleBtnClick();
             t.click(0, 0);
         }, "select all; scale 0 0 2.5"},
        {"scale by a second point", [](Tools& t) {
             t.tools.scaleByKeyboard = false;
             t.ctrl = true;
             t.ed.AllesAuswhlen1Click();
             t.tools.ScaleBtnClick();
             t.clicks({{100, 100}, {103, 100}});
         }, "select all; scale 100 100 3"},
        {"mirror", [](Tools& t) {
             t.ed.AllesAuswhlen1Click();
             t.tools.MirrorBtnClick();
             t.clicks({{0, 10}, {50, 10}});
         }, "select all; mirror 0 10 50 10"},
        {"a right press in the point phase ends the command", [](Tools& t) {
             t.ed.AllesAuswhlen1Click();
             t.tools.MoveBtnClick();
             t.click(0, 0);
             t.rightClick(10, 5);
             t.click(10, 5);
         }, ""},
        {"array with a selection at once", [](Tools& t) {
             t.ed.arrayValues = {3, 1, 50, 0, 0};
             t.ed.AllesAuswhlen1Click();
             t.tools.ArrayBtnClick();
         }, "select all; array 3 1 50 0"},
        {"array after its selection", [](Tools& t) {
             t.ed.arrayValues = {1, 2, 0, 20, 0};
             t.tools.ArrayBtnClick();
             t.click(20, 0);
             t.rightClick(200, 200);
             EXPECT_EQ(t.tools.cursor, ToolCursor::Cross);
         }, "select all; array 1 2 0 20"},
        {"delete with a selection at once", [](Tools& t) {
             t.ed.AllesAuswhlen1Click();
             t.tools.DelBtnClick();
         }, "select all; delete"},
        {"delete after its selection", [](Tools& t) {
             t.tools.DelBtnClick();
             EXPECT_TRUE(t.tools.indelselect);
             t.click(20, 0);
             t.rightClick(200, 200);
             EXPECT_FALSE(t.tools.indelselect);
         }, "select all; delete"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Tools t;
        ASSERT_EQ(test::runScript(t.ed, line), "");
        c.act(t);
        EXPECT_EQ(t.differsFrom(line + c.written), "");
        EXPECT_TRUE(t.ui.shown.empty());
    }
}

TEST(ToolCommands, ViewToolsTakeTheMouseUntilARightPress)
{
    Tools t;
    t.tools.HandBtnClick();
    EXPECT_EQ(t.tools.cursor, ToolCursor::HandPoint);
    const int64_t h = t.ed.view.scrollx;
    t.press(0, 0);
    t.move(-30, 0);  // the drawing follows the mouse 30 pixels to the left
    t.release(-30, 0);
    EXPECT_EQ(t.ed.view.scrollx, h + 3000);
    EXPECT_FALSE(t.ed.view.inpan);
    t.rightClick(0, 0);
    EXPECT_FALSE(t.ed.view.inhand);
    EXPECT_EQ(t.tools.cursor, ToolCursor::Crosshair);

    t.tools.ZoomBtnClick();
    EXPECT_EQ(t.tools.cursor, ToolCursor::Magnifier);
    const double z = t.ed.view.zoomedvalue;
    t.press(0, 0);
    t.tools.PaintBox1MouseMove(t.px(0), t.py(0) - 70, false);  // upwards enlarges
    EXPECT_GT(t.ed.view.zoomedvalue, z);
    t.tools.PaintBox1MouseUp(t.at(0, 0));
    EXPECT_FALSE(t.ed.view.inzoomit);
    t.escape();
    EXPECT_FALSE(t.ed.view.inzoom);
}

// Pressing on the selection drags it, on a grip drags the vertex, elsewhere opens a
// selection window; a drag whose objects changed meanwhile does nothing.
TEST(Drags, SelectionGripWindowAndStaleDrags)
{
    {
        SCOPED_TRACE("a press and release at one pixel");
        Tools t;
        ASSERT_EQ(test::runScript(t.ed, "line 0 0 100 0; select all"), "");
        const auto lines = t.ed.dxf.lines;
        t.click(50, 0);
        EXPECT_EQ(t.ed.dxf.lines, lines);
        EXPECT_TRUE(t.ed.model.polys[0].selected);
        EXPECT_FALSE(t.tools.inmove);
    }
    {
        SCOPED_TRACE("dragging the selection");
        Tools t;
        ASSERT_EQ(test::runScript(t.ed, "line 0 0 100 0; select all"), "");
        t.press(50, 0);
        EXPECT_TRUE(t.tools.inmove);
        t.move(60, 0);
        t.release(60, 0);
        EXPECT_EQ(t.differsFrom("line 0 0 100 0; select all; move 10 0"), "");
    }
    {
        SCOPED_TRACE("dragging a grip 10 pixels right at zoom 100");
        Tools t;
        ASSERT_EQ(test::runScript(t.ed, "line 0 0 100 0; select all"), "");
        t.press(100, 0);
        EXPECT_TRUE(t.tools.inmovepoint);
        t.move(110, 0);
        t.release(110, 0);
        EXPECT_EQ(t.differsFrom("line 0 0 110 0"), "");
    }
    {
        SCOPED_TRACE("a selection window, and one with Shift");
        Tools t;
        ASSERT_EQ(test::runScript(t.ed, "line 0 0 100 0; line 0 50 100 50"), "");
        t.click(-10, 10);
        EXPECT_TRUE(t.tools.inmassselect);
        t.move(20, -10);
        EXPECT_EQ(t.tools.remove.size(), 4u);  // the window's frame
        t.click(20, -10);
        EXPECT_TRUE(t.ed.model.polys[0].selected);
        EXPECT_FALSE(t.ed.model.polys[1].selected);
        t.click(-10, -10);
        t.click(20, 10, kLeft, true);
        EXPECT_FALSE(t.ed.model.polys[0].selected);
    }
    {
        SCOPED_TRACE("a typed press on the selection or with the pan tool starts no drag");
        Tools t;
        ASSERT_EQ(test::runScript(t.ed, "line 0 0 100 0; select all"), "");
        const auto lines = t.ed.dxf.lines;
        t.tools.BenutzenBtnClick(50, 0);
        t.move(80, 0);
        t.release(80, 0);
        EXPECT_EQ(t.ed.dxf.lines, lines);
        t.tools.HandBtnClick();
        t.tools.BenutzenBtnClick(50, 0);
        const int64_t h = t.ed.view.scrollx;
        t.move(80, 0);
        EXPECT_EQ(t.ed.view.scrollx, h);
    }
    {
        SCOPED_TRACE("a grip drag after the selection was deleted");
        Tools t;
        ASSERT_EQ(test::runScript(t.ed, "line 0 50 100 50; line 0 0 100 0"), "");
        t.ed.model.polys[0].selected = true;
        t.press(100, 50);
        ASSERT_TRUE(t.tools.inmovepoint);
        t.ed.Loeschen();  // Del while the mouse is held: the other line is object 0 now
        const auto afterDelete = t.ed.dxf.lines;
        t.move(110, 50);
        t.release(110, 50);
        EXPECT_EQ(t.ed.dxf.lines, afterDelete);
        EXPECT_EQ(t.ed.undos.size(), 3u);
    }
    {
        SCOPED_TRACE("a press while a re-parse is owed");
        Tools t;
        ASSERT_EQ(test::runScript(t.ed, "line 0 0 100 0; select all"), "");
        t.ed.CopyObjects(0, 100, true);  // copied, not parsed yet
        ASSERT_TRUE(t.ed.reparsePending());
        t.click(50, 100);  // on the copy
        EXPECT_FALSE(t.ed.reparsePending());
        ASSERT_EQ(t.ed.model.anzpoly, 2);
        EXPECT_TRUE(t.ed.model.polys[1].selected);
        EXPECT_FALSE(t.tools.inmassselect);
    }
}

// The rubber band: what it shows after each move, and the values it computes for the press.
TEST(RubberBand, ShowsTheConstructionAndLeavesItsValues)
{
    Tools t;
    t.move(12.5, -3.25);
    EXPECT_EQ(t.tools.statusText, "12.5000, -3.2500");
    EXPECT_TRUE(t.tools.remove.empty());

    // A ray from pixel (100, 100) towards (110, 100) reaches 1000100; a construction line
    // also the other way.
    const double x0 = -400, y0 = 299;  // pixel (100, 100)
    t.tools.Strahl1Click();
    t.click(x0, y0);
    t.move(x0 + 10, y0);
    ASSERT_EQ(t.tools.remove.size(), 1u);
    EXPECT_EQ(t.tools.remove[0].x1, 100);
    EXPECT_EQ(t.tools.remove[0].x2, 1000100);
    t.tools.Konstruktionslinie1Click();
    t.click(x0, y0);
    t.move(x0 + 10, y0);
    ASSERT_EQ(t.tools.remove.size(), 1u);
    EXPECT_EQ(t.tools.remove[0].x1, -999900);
    EXPECT_EQ(t.tools.remove[0].x2, 1000100);

    // After a move only the new line is shown; near a point the snap marker joins it.
    t.tools.LineBtnClick();
    t.clicks({{0, 0}, {80, -30}});
    t.move(50, 50);
    t.move(20, 60);
    ASSERT_EQ(t.tools.remove.size(), 1u);
    EXPECT_EQ(t.tools.remove[0].x2, t.px(20));
    t.move(-2, 1);  // within 5 pixels of the line's first end
    EXPECT_EQ(t.tools.remove.size(), 4u + 1u);

    // An armed tool shows the snap marker only.
    t.escape();
    ASSERT_EQ(test::runScript(t.ed, "line 0 0 100 0"), "");
    t.tools.CircleBtnClick();
    t.move(99, 2);
    EXPECT_EQ(t.tools.remove.size(), 4u);
    t.move(50, 50);
    EXPECT_TRUE(t.tools.remove.empty());
}

TEST(RubberBand, DimensionEllipticalArcAndTransformPreview)
{
    // A dimension between (0, 0) and (10, 0) with the mouse 3 units above.
    Tools t("template1.dat", 10);
    t.tools.DimensionBtnClick();
    t.clicks({{0, 0}, {10, 0}});
    t.move(5, 3);
    EXPECT_DOUBLE_EQ(t.ed.linesx4, 0);
    EXPECT_DOUBLE_EQ(t.ed.linesy4, 3);
    EXPECT_DOUBLE_EQ(t.ed.linesx5, 10);
    EXPECT_DOUBLE_EQ(t.ed.linesy5, 3);
    EXPECT_DOUBLE_EQ(t.ed.linesx3, 5);
    EXPECT_DOUBLE_EQ(t.ed.linesy3, 3);
    EXPECT_EQ(t.tools.remove.size(), 3u);

    // An elliptical arc whose start lies on the ray from the centre through the axis end
    // starts at parameter 0; its end a quarter turn clockwise ends at 3/2 pi.
    Tools e;
    e.tools.Ellipsenbogen1Click();
    e.clicks({{0, 0}, {100, 0}, {50, 20}, {90, 0}});
    e.move(50, -20);
    EXPECT_EQ(e.ed.ellipsewinkel1, 0);
    EXPECT_NEAR(e.ed.ellipsewinkel2, 1.5 * std::numbers::pi, 1e-6);
    e.click(50, -20);
    const model::tpoly& arc = e.ed.model.polys[size_t(e.ed.model.anzpoly - 1)];
    EXPECT_TRUE(arc.isellipse);

    // Moving a selected line: the line from the base point and the line at its new place.
    Tools m;
    ASSERT_EQ(test::runScript(m.ed, "line 0 0 100 0; select all"), "");
    m.tools.MoveBtnClick();
    m.click(0, 0);
    m.move(10, 25);
    ASSERT_EQ(m.tools.remove.size(), 2u);
    const model::tremove& moved = m.tools.remove[1];
    EXPECT_EQ(moved.x1, m.px(10));
    EXPECT_EQ(moved.y1, m.py(25));
    EXPECT_EQ(moved.x2, m.px(110));
    EXPECT_DOUBLE_EQ(m.tools.linesx2, 10);
    EXPECT_DOUBLE_EQ(m.tools.linesy2, 25);
}

TEST(DoubleClick, OnASelectedTextsInsertionPointEditsIt)
{
    Tools t;
    ASSERT_EQ(test::runScript(t.ed, "text 10 10 5 \"Hallo\"; line 100 0 200 0"), "");
    t.ui.typeText = "Welt";
    t.move(12, 10);  // near the insertion point, the text not selected
    t.tools.PaintBox1DblClick();
    EXPECT_TRUE(t.ui.textEdits.empty());

    t.ed.AllesAuswhlen1Click();
    t.tools.LineBtnClick();
    t.move(30, 30);   // selected, but too far away
    t.tools.PaintBox1DblClick();
    EXPECT_TRUE(t.ui.textEdits.empty());
    t.move(14, 6);
    t.tools.PaintBox1DblClick();
    EXPECT_EQ(t.ui.textEdits, std::vector<std::string>{"Hallo\n"});  // the writer ends each line
    EXPECT_EQ(t.ed.model.polys[0].textstr, "Welt");
    EXPECT_EQ(t.tools.down, ToolButton::LineBtn);  // the tool buttons stay
    EXPECT_FALSE(t.tools.inlin);
}

// Random commands, presses, moves, releases, double clicks, Escape, typed points, undo
// and zooms on a real drawing: nothing crashes, every preview segment lies near the area,
// and undoing every step gives back the document as it was read.
TEST(ToolRobustness, RandomUseNeverBreaksTheDocument)
{
    using Command = void (ToolState::*)();
    const Command commands[] = {
        &ToolState::LineBtnClick, &ToolState::Konstruktionslinie1Click,
        &ToolState::Strahl1Click, &ToolState::PolyLineBtnClick, &ToolState::PenBtnClick,
        &ToolState::PolyGonClick, &ToolState::RectangleBtnClick, &ToolState::ArcBtnClick,
        &ToolState::N3PunkteStartEndeMitte1Click, &ToolState::MittelpunktStart1Click,
        &ToolState::CircleBtnClick, &ToolState::MittelpunktDurchmesser1Click,
        &ToolState::N2Punkte1Click, &ToolState::N3Punkte1Click, &ToolState::EllipseBtnClick,
        &ToolState::Mittelpunkt1Click, &ToolState::Ellipsenbogen1Click,
        &ToolState::EllipsenbogenMittelpunkt1Click, &ToolState::SplineBtnClick,
        &ToolState::TextBtnClick, &ToolState::DimensionBtnClick, &ToolState::PointBtnClick,
        &ToolState::SolidBtnClick, &ToolState::ArrowBtnClick, &ToolState::CopyBtnClick,
        &ToolState::MoveBtnClick, &ToolState::RotateBtnClick, &ToolState::ScaleBtnClick,
        &ToolState::MirrorBtnClick, &ToolState::ArrayBtnClick, &ToolState::DelBtnClick,
        &ToolState::ZoomBtnClick, &ToolState::HandBtnClick, &ToolState::Fertig1Click,
        &ToolState::Linienzugschlieen1Click, &ToolState::Kreisbogen2Click,
        &ToolState::Linie2Click,
    };
    const std::pair<const char*, unsigned> runs[] = {
        {"examples/parts.dxf", 1}, {"examples/parts.dxf", 2}, {"examples/parts.dxf", 3},
        {"template0.dat", 4},  // the oldest format: commands refused
    };
    for (const auto& [drawing, seed] : runs) {
        SCOPED_TRACE(std::string(drawing) + ", seed " + std::to_string(seed));
        Tools t(drawing);
        t.ed.ZoomAllClick();
        t.ui.typeText = "T";
        const auto original = t.ed.dxf.lines.strings();
        std::mt19937 rng(seed);
        auto coordinate = [&](double size) {
            if (rng() % 40 == 0)
                return (rng() % 2 ? 1e9 : -1e9) * double(rng() % 3);
            return double(rng() % unsigned(size + 100)) - 50;
        };
        for (int step = 0; step < 2500; ++step) {
            const double x = coordinate(t.ed.view.W), y = coordinate(t.ed.view.H);
            MouseEvent e;
            e.x = x, e.y = y;
            e.button = MouseButton(rng() % 3);
            e.shift = rng() % 5 == 0;
            e.ctrl = rng() % 5 == 0;
            switch (rng() % 12) {
            case 0: ((t.tools).*commands[rng() % std::size(commands)])(); break;
            case 1: case 2: t.tools.PaintBox1MouseDown(e); break;
            case 3: t.tools.PaintBox1MouseUp(e); break;
            case 4: case 5: case 6: t.tools.PaintBox1MouseMove(x, y, e.ctrl); break;
            case 7: t.tools.PaintBox1DblClick(); break;
            case 8: t.tools.keyeditKeyDown(27); break;
            case 9: t.tools.BenutzenBtnClick(coordinate(400), coordinate(300)); break;
            case 10:
                if (rng() % 8 == 0)
                    t.ed.Rckgngig1Click();
                break;
            case 11: t.ed.view.zoomedvalue = std::pow(10.0, double(rng() % 9) - 2); break;
            }
            for (const model::tremove& r : t.tools.remove)  // cut to the area, rays included
                ASSERT_LT(std::max({std::abs(r.x1), std::abs(r.y1), std::abs(r.x2), std::abs(r.y2)}),
                          20000000) << step;
        }
        t.ed.finishPendingReparse();
        while (!t.ed.undos.empty())
            t.ed.Rckgngig1Click();
        EXPECT_EQ(firstDifference(t.ed.dxf.lines.strings(), original), "");
    }
}
