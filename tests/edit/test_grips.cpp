// Grip edits: each kind of grip writes its value, a viewport's grips change its frame and
// view, every line reference is checked, and every edit undoes byte for byte.
#include <gtest/gtest.h>

#include <cmath>

#include "edit/ObjectLines.h"
#include "edit/TransformFixture.h"

using namespace kerbon;
using kerbon::test::TransformFixture;

namespace {

using Lines = std::vector<std::string>;

// The object with handle 150 (the one each case writes).
int object(const Editor& ed)
{
    for (int i = 0; i < ed.model.anzpoly; ++i)
        if (ed.model.polys[size_t(i)].han == 0x150)
            return i;
    ADD_FAILURE() << "no object 150";
    return 0;
}

std::vector<std::string> valuesOf(const Editor& ed, const std::string& code)
{
    std::vector<std::string> out;
    const model::tpoly& p = ed.model.polys[size_t(object(ed))];
    for (int k = p.linefrom; k + 1 <= p.linebis; k += 2)
        if (trimDxf(ed.dxf[k]) == code)
            out.emplace_back(trimDxf(ed.dxf[k + 1]));
    return out;
}

int viewport(const Editor& ed)
{
    for (int i = 0; i < ed.model.anzpoly; ++i)
        if (ed.model.polys[size_t(i)].isviewport)
            return i;
    ADD_FAILURE() << "no viewport";
    return 0;
}

std::string entity(const std::string& type, const std::string& rest)
{
    return "0|" + type + "|5|150|330|1F|100|AcDbEntity|8|0|" + rest;
}

}  // namespace

// The grip of each kind, dragged to (ex, ey) from where it is: a coordinate moves by the
// drag, a radius, an ellipse's ratio and an arc's end angle follow the target point.
TEST(MovePoint, EachGripKindWritesItsValue)
{
    const struct {
        const char* what;
        std::string body;
        int vertex;
        double ex, ey;
        const char* code;
        Lines values;
    } cases[] = {
        {"a line's end point", entity("LINE", "100|AcDbLine|10|0|20|0|30|0|11|5|21|3|31|0"), 1, 6, 1,
         "21", {"1"}},
        {"a circle's radius grip at distance 7", entity("CIRCLE", "100|AcDbCircle|10|3|20|4|30|0|40|2"),
         1, 3, 11, "40", {"7"}},
        {"an ellipse's ratio", entity("ELLIPSE", "100|AcDbEllipse|10|0|20|0|30|0|11|4|21|0|31|0|40|0.5|41|0|42|6.283185307179586"),
         2, 0, 3, "40", {"0.75"}},
        {"an ellipse's axis end", entity("ELLIPSE", "100|AcDbEllipse|10|0|20|0|30|0|11|4|21|0|31|0|40|0.5|41|0|42|6.283185307179586"),
         1, 5, 1, "11", {"5"}},
        {"an arc's end angle", entity("ARC", "100|AcDbCircle|10|0|20|0|30|0|40|2|100|AcDbArc|50|0|51|90"),
         2, -3, 0, "51", {"180"}},
        {"the centre of an arc seen from below",
         entity("ARC", "100|AcDbCircle|10|-10|20|0|30|0|40|2|210|0|220|0|230|-1|100|AcDbArc|50|0|51|90"),
         0, 12, 1, "10", {"-12"}},
        {"the end angle of an arc seen from below",
         entity("ARC", "100|AcDbCircle|10|0|20|0|30|0|40|2|210|0|220|0|230|-1|100|AcDbArc|50|0|51|90"),
         2, 0, 3, "51", {"90"}},
        {"the corner a solid shows third", entity("SOLID", "100|AcDbTrace|10|0|20|0|30|0|11|1|21|0|31|0|12|0|22|1|32|0|13|1|23|1|33|0"),
         2, 2, 2, "13", {"2"}},
        {"the corner a solid shows fourth", entity("SOLID", "100|AcDbTrace|10|0|20|0|30|0|11|1|21|0|31|0|12|0|22|1|32|0|13|1|23|1|33|0"),
         3, -1, 2, "22", {"2"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TransformFixture f(false, c.body);
        const Lines original = f.ed.dxf.lines.strings();
        const int obj = object(f.ed);
        const model::Tmypoi v = f.ed.model.polys[size_t(obj)].ps[size_t(c.vertex)];
        ASSERT_GT(v.linex, 0);
        ASSERT_EQ(f.ed.MovePoint(obj, c.vertex, c.ex - v.x, c.ey - v.y, c.ex, c.ey), TransformStatus::Ok);
        EXPECT_EQ(valuesOf(f.ed, c.code), c.values);
        ASSERT_EQ(f.ed.undos.size(), 1u);
        f.ed.Rckgngig1Click();
        EXPECT_EQ(f.ed.dxf.lines, original);
    }
}

// A viewport's corner grip 2 dragged by (4, 2): 4 wider, 2 higher, the centre (2, 1) on;
// the view centre grip moves the view at its scale; the height grip sets the view height.
// The viewport stays selected.
TEST(MovePoint, ViewportGrips)
{
    const struct {
        int vertex;
        double dx, dy;
        const char* code;
        Lines values;
    } cases[] = {
        {2, 4, 2, "40", {"84"}}, {2, 4, 2, "41", {"62"}}, {2, 4, 2, "10", {"52"}},
        {0, 4, 2, "40", {"76"}}, {0, 4, 2, "20", {"51"}},
        {5, 3, -6, "12", {"12"}},  // a view 40 high in a frame 60 high: 2/3 of the drag
        {5, 3, -6, "22", {"6"}},
        {6, 0, 15, "45", {"20"}},  // the height grip twice as far from the centre
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.vertex) + " " + c.code);
        TransformFixture f(false, "", test::kPaper2000);
        f.ed.TabControl1Change(1);
        const Lines original = f.ed.dxf.lines.strings();
        const int vp = viewport(f.ed);
        f.ed.model.polys[size_t(vp)].selected = true;
        const model::Tmypoi v = f.ed.model.polys[size_t(vp)].ps[size_t(c.vertex)];
        ASSERT_EQ(f.ed.MovePoint(vp, c.vertex, c.dx, c.dy, v.x + c.dx, v.y + c.dy), TransformStatus::Ok);
        std::vector<std::string> values;
        const model::tpoly& p = f.ed.model.polys[size_t(vp)];
        for (int k = p.linefrom; k < p.linebis; k += 2)
            if (trimDxf(f.ed.dxf[k]) == c.code)
                values.emplace_back(trimDxf(f.ed.dxf[k + 1]));
        EXPECT_EQ(values, c.values);
        EXPECT_TRUE(p.selected);
        f.ed.Rckgngig1Click();
        EXPECT_EQ(f.ed.dxf.lines, original);
    }
}

// Grip 7 opens "Viewport konfigurieren" with the viewport's values and writes back all
// seven.
TEST(MovePoint, ViewportGripSevenTakesTheDialogsValues)
{
    struct DialogUi : test::ScriptedUi {
        ViewportValues shown;
        void viewportDialog(ViewportValues& v) override
        {
            shown = v;
            v = {70, 50, 45, 40, 12, 13, 30};
        }
    };
    DialogUi ui;
    TransformFixture f(false, "", test::kPaper2000);
    Editor ed(ui);
    ed.dxf = f.ed.dxf;
    ed.processdxf();
    ed.TabControl1Change(1);
    const int vp = viewport(ed);
    ASSERT_EQ(ed.MovePoint(vp, 7, 0, 0, 0, 0), TransformStatus::Ok);
    EXPECT_EQ(ui.shown.breite, 80);
    EXPECT_EQ(ui.shown.hoehe, 60);
    EXPECT_EQ(ui.shown.mitteX, 50);
    EXPECT_EQ(ui.shown.inhaltY, 10);
    EXPECT_EQ(ui.shown.heiCont, 40);
    const model::tpoly& p = ed.model.polys[size_t(vp)];
    EXPECT_EQ(p.widx, 70);
    EXPECT_EQ(p.widy, 50);
    EXPECT_EQ(p.cx, 45);
    EXPECT_EQ(p.cy, 40);
    EXPECT_EQ(p.panx, 12);
    EXPECT_EQ(p.pany, 13);
    EXPECT_EQ(p.viewheight, 30);
}

// References that name no line of the document are never written through: a viewport
// without a height (41) keeps line 0; bad indices change nothing but leave their step.
TEST(MovePoint, ChecksEveryReference)
{
    std::string paper = test::kPaper2000;
    paper.replace(paper.find("|41|60|"), 7, "|");
    TransformFixture f(false, "", paper);
    f.ed.TabControl1Change(1);
    const Lines original = f.ed.dxf.lines.strings();
    const int vp = viewport(f.ed);
    ASSERT_EQ(f.ed.model.polys[size_t(vp)].ps[3].linex, 0);
    ASSERT_EQ(f.ed.MovePoint(vp, 2, 4, 2, 0, 0), TransformStatus::Ok);
    EXPECT_EQ(f.ed.dxf[0], original[0]);
    EXPECT_EQ(f.ed.dxf.count(), int(original.size()));

    f.ed.FreeUndos();
    f.ed.changed = false;
    const Lines now = f.ed.dxf.lines.strings();
    EXPECT_EQ(f.ed.MovePoint(-1, 0, 1, 1, 1, 1), TransformStatus::Ok);
    EXPECT_EQ(f.ed.MovePoint(f.ed.model.anzpoly, 0, 1, 1, 1, 1), TransformStatus::Ok);
    EXPECT_EQ(f.ed.MovePoint(0, 999, 1, 1, 1, 1), TransformStatus::Ok);
    EXPECT_EQ(f.ed.dxf.lines, now);
    EXPECT_EQ(f.ed.undos.size(), 3u);
    EXPECT_TRUE(f.ed.changed);
}
