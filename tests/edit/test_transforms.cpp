// Move, copy, rotate, mirror, scale and array on every kind of entity, in R12 and R2000
// drawings: the values each kind holds change by what they are, the operations undo
// byte for byte, and an independent reader accepts the copies.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>

#include "dxf/placement.h"
#include "edit/ObjectLines.h"
#include "edit/TransformFixture.h"
#include "support/Ezdxf.h"
#include "support/TempFiles.h"

using namespace kerbon;
using kerbon::test::TransformFixture;

namespace {

using Lines = std::vector<std::string>;

// Every number of codes 10 ... 59 and 210 ... 239 of every object's text, by object and
// code, in text order.
std::map<std::pair<int, int>, std::vector<double>> numbers(const Editor& ed)
{
    std::map<std::pair<int, int>, std::vector<double>> out;
    for (int i = 0; i < ed.model.anzpoly; ++i) {
        const LineSpan s = objectLines(ed.dxf, ed.model.polys[size_t(i)]);
        for (int k = s.from; k + 1 < s.from + s.count; k += 2) {
            const auto code = dxfToInt(trimDxf(ed.dxf[k]));
            if (!code || (*code >= 60 && *code < 210) || *code >= 240 || *code < 10)
                continue;
            if (const auto v = dxfToDouble(trimDxf(ed.dxf[k + 1])))
                out[{i, *code}].push_back(*v);
        }
    }
    return out;
}

bool near(double a, double b, bool angle)
{
    double d = std::fabs(a - b);
    if (angle)
        d = std::fabs(std::remainder(a - b, 360));
    return d <= 1e-9 * std::max(1.0, std::fabs(a));
}

// After operations that should cancel out: every number the text held before is back
// (angles up to whole turns), and every vertex and snap point of the model.
void expectSameGeometry(const Editor& before, const Editor& after)
{
    const auto a = numbers(before), b = numbers(after);
    for (const auto& [key, values] : a) {
        SCOPED_TRACE("object " + std::to_string(key.first) + " " +
                     std::string(before.dxf[before.model.polys[size_t(key.first)].linefrom + 1]) + " code " +
                     std::to_string(key.second));
        const auto it = b.find(key);
        ASSERT_NE(it, b.end());
        ASSERT_EQ(it->second.size(), values.size());
        for (size_t k = 0; k < values.size(); ++k)
            EXPECT_TRUE(near(values[k], it->second[k], key.second >= 50 && key.second <= 53))
                << values[k] << " became " << it->second[k];
    }
    ASSERT_EQ(before.model.anzpoly, after.model.anzpoly);
    for (int i = 0; i < before.model.anzpoly; ++i) {
        const model::tpoly& p = before.model.polys[size_t(i)];
        const model::tpoly& q = after.model.polys[size_t(i)];
        SCOPED_TRACE("object " + std::to_string(i) + " " + std::string(before.dxf[p.linefrom + 1]));
        ASSERT_EQ(p.anzp, q.anzp);
        ASSERT_EQ(p.anzs, q.anzs);
        for (int k = 0; k < p.anzp; ++k)
            EXPECT_TRUE(near(p.ps[size_t(k)].x, q.ps[size_t(k)].x, false) &&
                        near(p.ps[size_t(k)].y, q.ps[size_t(k)].y, false))
                << "vertex " << k;
        for (int k = 0; k < p.anzs; ++k)
            EXPECT_TRUE(near(p.snap[size_t(k)].x, q.snap[size_t(k)].x, false) &&
                        near(p.snap[size_t(k)].y, q.snap[size_t(k)].y, false));
    }
}

struct Both {
    bool r12;
    const char* body;
    const char* paper;
};
const Both kDrawings[] = {{false, test::kEntities2000, test::kPaper2000},
                          {true, test::kEntities12, ""}};

// The entity with handle h: its pairs as (trimmed code, trimmed value).
std::vector<std::pair<std::string, std::string>> pairsOf(const Editor& ed, int32_t h)
{
    for (int i = 0; i < ed.model.anzpoly; ++i) {
        const model::tpoly& p = ed.model.polys[size_t(i)];
        if (p.han != h)
            continue;
        std::vector<std::pair<std::string, std::string>> out;
        const LineSpan s = objectLines(ed.dxf, p);
        for (int k = s.from; k + 1 < s.from + s.count; k += 2)
            out.emplace_back(trimDxf(ed.dxf[k]), trimDxf(ed.dxf[k + 1]));
        return out;
    }
    return {};
}

// The values of `code` in the entity with handle h, as text.
std::vector<std::string> valuesOf(const Editor& ed, int32_t h, const std::string& code)
{
    std::vector<std::string> out;
    for (const auto& [c, v] : pairsOf(ed, h))
        if (c == code)
            out.push_back(v);
    return out;
}

void selectHandle(Editor& ed, int32_t h)
{
    for (int i = 0; i < ed.model.anzpoly; ++i)
        ed.model.polys[size_t(i)].selected = ed.model.polys[size_t(i)].han == h;
}

}  // namespace

// Move there and back, four quarter turns, the same mirror twice, scaling up and down:
// every value of every entity kind is back, and undo gives the text back.
TEST(Transforms, CancellingOperationsGiveEveryValueBack)
{
    using Step = std::function<TransformStatus(Editor&)>;
    const Step rotate = [](Editor& ed) { return ed.RotateObjects(7, -3, 7, 10, 0); };
    const Step mirror = [](Editor& ed) { return ed.RotateObjects(3, 1, 8, 6.5, 1); };
    const struct {
        const char* name;
        std::vector<Step> steps;
    } sequences[] = {
        {"move and back",
         {[](Editor& ed) { return ed.MoveObjects(123.25, -47.5); },
          [](Editor& ed) { return ed.MoveObjects(-123.25, 47.5); }}},
        {"four quarter turns", {rotate, rotate, rotate, rotate}},
        {"the same mirror twice", {mirror, mirror}},
        {"scale by 2 and by 0.5",
         {[](Editor& ed) { return ed.RotateObjects(-4, 9, -2, 9, 2); },
          [](Editor& ed) { return ed.RotateObjects(-4, 9, -4, 9.5, 2); }}},
    };
    for (const Both& d : kDrawings) {
        for (int tab : {0, 1}) {
            if (d.r12 && tab == 1)
                continue;
            TransformFixture before(d.r12, d.body, d.paper);
            before.ed.TabControl1Change(tab);
            for (const auto& seq : sequences) {
                SCOPED_TRACE(std::string(d.r12 ? "R12" : "R2000") + " tab " + std::to_string(tab) +
                             ": " + seq.name);
                TransformFixture f(d.r12, d.body, d.paper);
                f.ed.TabControl1Change(tab);
                const Lines original = f.ed.dxf.lines.strings();
                for (const Step& step : seq.steps) {
                    const Lines was = f.ed.dxf.lines.strings();
                    f.ed.AllesAuswhlen1Click();
                    ASSERT_TRUE(f.ed.IsSelected());
                    ASSERT_EQ(step(f.ed), TransformStatus::Ok);
                    ASSERT_FALSE(f.ed.IsSelected());  // the re-parse cleared the selection
                    ASSERT_NE(f.ed.dxf.lines, was);
                }
                expectSameGeometry(before.ed, f.ed);
                while (!f.ed.undos.empty())
                    f.ed.Rckgngig1Click();
                EXPECT_EQ(f.ed.dxf.lines, original);
            }
        }
    }
}

// Every vertex and snap point the parser derives from an entity (outlines of arcs, bulges,
// ellipses, splines, hatches, dimensions, wipeouts; grips) lands where the transform puts
// the old one: in order for a move, a rotation and a scale, as a set for a mirror (it
// reverses outlines).
TEST(Transforms, EveryDerivedPointFollowsTheTransform)
{
    const struct {
        const char* name;
        Transform t;
        int modex;  // -1 move
        double x1, y1, x2, y2;
    } ops[] = {
        {"move", Transform::move(12.5, -3), -1, 12.5, -3, 0, 0},
        {"rotate 30", Transform::about(5, 7, 5 + std::cos(0.5236), 7 + std::sin(0.5236), 0), 0,
         5, 7, 5 + std::cos(0.5236), 7 + std::sin(0.5236)},
        {"mirror", Transform::about(1, 2, 4, 9, 1), 1, 1, 2, 4, 9},
        {"scale 1.5", Transform::about(-2, 3, -0.5, 3, 2), 2, -2, 3, -0.5, 3},
    };
    for (const Both& d : kDrawings) {
        for (const auto& op : ops) {
            SCOPED_TRACE(std::string(d.r12 ? "R12 " : "R2000 ") + op.name);
            TransformFixture f(d.r12, d.body);
            const model::DisplayModel before = f.ed.model;
            f.ed.AllesAuswhlen1Click();
            ASSERT_EQ(op.modex < 0 ? f.ed.MoveObjects(op.x1, op.y1)
                                   : f.ed.RotateObjects(op.x1, op.y1, op.x2, op.y2, op.modex),
                      TransformStatus::Ok);
            ASSERT_EQ(before.anzpoly, f.ed.model.anzpoly);
            for (int i = 0; i < before.anzpoly; ++i) {
                const model::tpoly& p = before.polys[size_t(i)];
                const model::tpoly& q = f.ed.model.polys[size_t(i)];
                if (p.isblock)
                    continue;  // shown through the inserts, which are looked at below
                SCOPED_TRACE(std::string(f.ed.dxf[q.linefrom + 1]) + " " + std::to_string(i));
                auto moved = [&](const model::VertexList& list, int n) {
                    std::vector<std::pair<double, double>> out;
                    for (int k = 0; k < n; ++k) {
                        double x = list[size_t(k)].x, y = list[size_t(k)].y;
                        op.t.point(x, y);
                        out.emplace_back(x, y);
                    }
                    return out;
                };
                auto expectAt = [&](const std::vector<std::pair<double, double>>& want,
                                    const model::VertexList& got, int n) {
                    ASSERT_EQ(int(want.size()), n);
                    for (int k = 0; k < n; ++k) {
                        const double x = got[size_t(k)].x, y = got[size_t(k)].y;
                        auto close = [&](const std::pair<double, double>& w) {
                            return near(w.first, x, false) && near(w.second, y, false);
                        };
                        if (op.modex == 1)
                            EXPECT_TRUE(std::any_of(want.begin(), want.end(), close)) << k;
                        else
                            EXPECT_TRUE(close(want[size_t(k)])) << k << ": " << want[size_t(k)].first
                                << " " << want[size_t(k)].second << " became " << x << " " << y;
                    }
                };
                expectAt(moved(p.snap, p.anzs), q.snap, q.anzs);
                if (!p.insertstr.empty()) {  // what its block shows, every cell of its array
                    auto placed = [&](const model::DisplayModel& m) {
                        BlockIndex blocks;
                        blocks.build(m);
                        std::vector<model::Tmypoi> out;
                        anyPlaced(m, blocks, i, [&](const model::tpoly& r, const Placement& at) {
                            for (int k = 0; k < r.anzp; ++k) {
                                model::Tmypoi w;
                                w.x = at.mapX(r.ps[size_t(k)].x, r.ps[size_t(k)].y);
                                w.y = at.mapY(r.ps[size_t(k)].x, r.ps[size_t(k)].y);
                                out.push_back(w);
                            }
                            return false;
                        });
                        return out;
                    };
                    const std::vector<model::Tmypoi> was = placed(before), now = placed(f.ed.model);
                    ASSERT_GT(was.size(), 1u);
                    expectAt(moved(was, int(was.size())), now, int(now.size()));
                }
                if (p.istext) {  // the text's direction in the drawing and its height
                    double dx = std::cos(p.rotation * M_PI / 180), dy = std::sin(p.rotation * M_PI / 180);
                    op.t.direction(dx, dy);
                    EXPECT_TRUE(near(std::atan2(dy, dx) * 180 / M_PI, q.rotation, true))
                        << p.rotation << " became " << q.rotation;
                    EXPECT_TRUE(near(op.t.length(p.radius), q.radius, false));
                }
                // A circle's outline always starts at 0 degrees; the construction lines
                // are drawn 10000 of their directions long, which a scale keeps.
                const std::string_view type = trimDxf(f.ed.dxf[q.linefrom + 1]);
                if (type == "CIRCLE")
                    expectAt(moved(p.ps, 1), q.ps, 1);  // the centre grip
                else if (!((type == "XLINE" || type == "RAY") && op.modex == 2))
                    expectAt(moved(p.ps, p.anzp), q.ps, q.anzp);
            }
        }
    }
}

// The faults the value rules guard against, one entity each: what a code holds decides
// what becomes of it.
TEST(Transforms, EachValueChangesByWhatItIs)
{
    const auto move = [](double dx, double dy) {
        return [=](Editor& ed) { return ed.MoveObjects(dx, dy); };
    };
    const auto about = [](double x1, double y1, double x2, double y2, int modex) {
        return [=](Editor& ed) { return ed.RotateObjects(x1, y1, x2, y2, modex); };
    };
    const std::string head = "0|%|5|150|330|1F|100|AcDbEntity|8|0|";
    auto entity = [&](const std::string& type, const std::string& rest) {
        std::string h = head;
        h.replace(h.find('%'), 1, type);
        return h + rest;
    };
    const struct Case {
        const char* what;
        std::string body;
        std::function<TransformStatus(Editor&)> op;
        const char* code;
        Lines values;
    } cases[] = {
        {"a wipeout keeps its size", entity("WIPEOUT", "100|AcDbWipeout|10|0|20|0|30|0|11|10|21|0|31|0|12|0|22|10|32|0|13|1|23|1"),
         move(100, 50), "11", {"10"}},
        {"a justified text's alignment point moves",
         entity("TEXT", "100|AcDbText|10|1|20|1|30|0|40|1|1|T|72|1|11|3|21|1|31|0|100|AcDbText"),
         move(100, 50), "11", {"103"}},
        {"attributes move with their insert",
         entity("INSERT", "100|AcDbBlockReference|66|1|2|Teil|10|0|20|0|30|0|") +
             "0|ATTRIB|5|151|330|150|100|AcDbEntity|8|0|100|AcDbText|10|1|20|2|30|0|40|1|1|W|"
             "100|AcDbAttribute|2|TAG|70|0|0|SEQEND|5|152|330|150|100|AcDbEntity|8|0",
         move(100, 50), "20", {"50", "52"}},
        {"an arc turned about its centre", entity("ARC", "100|AcDbCircle|10|3|20|4|30|0|40|2|100|AcDbArc|50|10|51|100"),
         about(3, 4, 3, 9, 0), "51", {"190"}},
        {"a solid's third and fourth corner turn", entity("SOLID", "100|AcDbTrace|10|0|20|0|30|0|11|1|21|0|31|0|12|0|22|1|32|0|13|1|23|1|33|0"),
         about(0, 0, 0, 1, 0), "13", {"-1"}},
        {"a dimension's points 13 to 16 turn",
         entity("DIMENSION", "100|AcDbDimension|2|*D1|10|5|20|0|30|0|11|5|21|1|31|0|70|33|100|AcDbAlignedDimension|13|1|23|0|33|0|14|4|24|0|34|0"),
         about(0, 0, 0, 1, 0), "24", {"4"}},
        {"a text without an angle gets one", entity("TEXT", "100|AcDbText|10|1|20|1|30|0|40|1|1|T|100|AcDbText"),
         about(0, 0, 0, 1, 0), "50", {"90"}},
        {"a scaled ellipse keeps its ratio", entity("ELLIPSE", "100|AcDbEllipse|10|0|20|0|30|0|11|4|21|0|31|0|40|0.5|41|0|42|6.283185307179586"),
         about(0, 0, 3, 0, 2), "40", {"0.5"}},
        {"a scaled insert scales its factors", entity("INSERT", "100|AcDbBlockReference|2|Teil|10|1|20|1|30|0|41|2|42|3|43|4"),
         about(0, 0, 3, 0, 2), "43", {"12"}},
        {"an insert without factors gets them", entity("INSERT", "100|AcDbBlockReference|2|Teil|10|1|20|1|30|0"),
         about(0, 0, 3, 0, 2), "42", {"3"}},
        {"a scaled polyline scales its widths", entity("LWPOLYLINE", "100|AcDbPolyline|90|2|70|0|43|0.5|10|0|20|0|40|0.1|41|0.2|10|1|20|0"),
         about(0, 0, 3, 0, 2), "41", {"0.6"}},
        {"a scaled circle's radius", entity("CIRCLE", "100|AcDbCircle|10|3|20|4|30|0|40|2.5"),
         about(3, 4, 5, 4, 2), "40", {"5"}},
        {"a mirrored text lands at the mirrored place", entity("TEXT", "100|AcDbText|10|10|20|2|30|0|40|1|1|T|100|AcDbText"),
         about(20, 0, 20, 1, 1), "10", {"30"}},
        {"a mirrored text gets no extrusion", entity("TEXT", "100|AcDbText|10|10|20|2|30|0|40|1|1|T|100|AcDbText"),
         about(20, 0, 20, 1, 1), "230", {}},
        {"a mirrored polyline's extrusion stays", entity("LWPOLYLINE", "100|AcDbPolyline|90|2|70|0|10|1|20|0|42|0.5|10|2|20|0|210|0|220|0|230|-1"),
         about(0, 0, 0, 1, 1), "230", {"-1"}},
        {"a mirrored polyline's bulges are negated", entity("LWPOLYLINE", "100|AcDbPolyline|90|2|70|0|10|1|20|0|42|0.5|10|2|20|0|210|0|220|0|230|-1"),
         about(0, 0, 0, 1, 1), "42", {"-0.5"}},
        {"a mirrored arc seen from below keeps its extrusion", entity("ARC", "100|AcDbCircle|10|3|20|4|30|0|40|2|210|0|220|0|230|-1|100|AcDbArc|50|10|51|100"),
         about(0, 0, 0, 1, 1), "230", {"-1"}},
        {"a mirrored text seen from below reads along the mirrored direction",
         entity("MTEXT", "100|AcDbMText|10|0|20|0|30|0|40|1|1|T|50|0|210|0|220|0|230|-1"),
         about(0, 0, 0, 1, 1), "11", {"1"}},
        {"a mirrored insert negates its x scale", entity("INSERT", "100|AcDbBlockReference|2|Teil|10|1|20|1|30|0|41|2|42|2|50|30"),
         about(0, 0, 0, 1, 1), "41", {"-2"}},
        {"a mirrored insert reflects its rotation", entity("INSERT", "100|AcDbBlockReference|2|Teil|10|1|20|1|30|0|41|2|42|2|50|30"),
         about(0, 0, 0, 1, 1), "50", {"330"}},
        {"a mirrored insert never gets a 51", entity("INSERT", "100|AcDbBlockReference|2|Teil|10|1|20|1|30|0|50|30"),
         about(0, 0, 0, 1, 1), "51", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TransformFixture f(false, c.body);
        f.ed.AllesAuswhlen1Click();
        ASSERT_EQ(c.op(f.ed), TransformStatus::Ok);
        EXPECT_EQ(valuesOf(f.ed, 0x150, c.code), c.values);
    }
}

// An arc from 0 to 90 degrees about the origin mirrored in the y axis runs from 90 to 180:
// the old start becomes the end (code 51, 540), the old end the start (code 50, 450).
TEST(Transforms, MirroredArcSwapsItsAngles)
{
    TransformFixture f(false, "0|ARC|5|150|330|1F|100|AcDbEntity|8|0|100|AcDbCircle|10|0|20|0|"
                              "30|0|40|5|100|AcDbArc|50|0|51|90");
    f.ed.AllesAuswhlen1Click();
    ASSERT_EQ(f.ed.RotateObjects(0, 0, 0, 1, 1), TransformStatus::Ok);
    const auto pairs = pairsOf(f.ed, 0x150);
    ASSERT_GE(pairs.size(), 2u);
    EXPECT_EQ(pairs[pairs.size() - 2], (std::pair<std::string, std::string>{"51", "540"}));
    EXPECT_EQ(pairs.back(), (std::pair<std::string, std::string>{"50", "450"}));
    const model::tpoly& arc = f.ed.model.polys[size_t(f.ed.model.anzpoly - 1)];
    EXPECT_EQ(f.ed.dxf[arc.linebis - 3], " 51");  // the code line itself
}

// A mirrored ellipse without extrusion gets 210 0, 220 0, 230 -1 before its extended data,
// as a step of its own.
TEST(Transforms, MirroredEllipseGetsItsExtrusionBeforeItsExtendedData)
{
    TransformFixture f(false, "0|ELLIPSE|5|150|330|1F|100|AcDbEntity|8|0|100|AcDbEllipse|10|5|20|0|"
                              "30|0|11|4|21|0|31|0|40|0.5|41|0|42|6.283185307179586|"
                              "1001|KERBON|1000|x");
    const Lines original = f.ed.dxf.lines.strings();
    f.ed.AllesAuswhlen1Click();
    ASSERT_EQ(f.ed.RotateObjects(0, 0, 0, 1, 1), TransformStatus::Ok);
    const auto pairs = pairsOf(f.ed, 0x150);
    ASSERT_GE(pairs.size(), 5u);
    const std::vector<std::pair<std::string, std::string>> tail(pairs.end() - 5, pairs.end());
    EXPECT_EQ(tail, (std::vector<std::pair<std::string, std::string>>{
                        {"210", "0"}, {"220", "0"}, {"230", "-1"}, {"1001", "KERBON"}, {"1000", "x"}}));
    EXPECT_EQ(valuesOf(f.ed, 0x150, "10"), Lines{"-5"});
    EXPECT_EQ(valuesOf(f.ed, 0x150, "11"), Lines{"-4"});
    ASSERT_EQ(f.ed.undos.size(), 2u);
    f.ed.Rckgngig1Click();
    EXPECT_TRUE(valuesOf(f.ed, 0x150, "230").empty());
    f.ed.Rckgngig1Click();
    EXPECT_EQ(f.ed.dxf.lines, original);
}

// Copies of every kind get new handles (their vertices and attributes the new owner), the
// seed moves on, a solid's four corners all move, and the independent reader accepts the
// result. An array of 3 x 2 makes five copies at the grid's offsets, one step each.
TEST(Transforms, CopiesAndArraysGetNewHandlesAndPassTheAudit)
{
    test::TempDir tmp;
    for (const Both& d : kDrawings) {
        SCOPED_TRACE(d.r12 ? "R12" : "R2000");
        TransformFixture f(d.r12, d.body);
        const Lines original = f.ed.dxf.lines.strings();
        // The block's members come first; the copies go after the model's objects.
        int first = 0;
        while (f.ed.model.polys[size_t(first)].isblock)
            ++first;
        const int all = f.ed.model.anzpoly, objects = all - first;
        const std::string seed = f.headerValue("$HANDSEED");
        f.ed.AllesAuswhlen1Click();
        ASSERT_EQ(f.ed.CopyObjects(300, 20), TransformStatus::Ok);
        ASSERT_EQ(f.ed.model.anzpoly, all + objects);
        ASSERT_EQ(f.ed.undos.size(), 1u);
        for (int i = 0; i < objects; ++i) {
            const model::tpoly& p = f.ed.model.polys[size_t(first + i)];
            const model::tpoly& q = f.ed.model.polys[size_t(all + i)];
            EXPECT_EQ(trimDxf(f.ed.dxf[p.linefrom + 1]), trimDxf(f.ed.dxf[q.linefrom + 1]));
            if (p.han != 0) {
                EXPECT_GT(q.han, f.ed.model.polys[size_t(all - 1)].han);
            }
            for (int k = 0; k < p.anzp; ++k)
                EXPECT_TRUE(near(p.ps[size_t(k)].x + 300, q.ps[size_t(k)].x, false) &&
                            near(p.ps[size_t(k)].y + 20, q.ps[size_t(k)].y, false))
                    << f.ed.dxf[p.linefrom + 1] << " vertex " << k;
        }
        if (!d.r12) {
            EXPECT_NE(f.headerValue("$HANDSEED"), seed);
            const std::string path = tmp.path("copied.dxf");
            ASSERT_TRUE(f.ed.SaveFileUnder(path));
            EXPECT_EQ(test::ezdxfAudit(tmp, path), "");
        }

        f.ed.Rckgngig1Click();
        ASSERT_EQ(f.ed.dxf.lines, original);
        selectHandle(f.ed, d.r12 ? 0 : 0x111);  // the solid (R12: no handles, everything)
        if (d.r12)
            f.ed.AllesAuswhlen1Click();
        f.ed.arrayValues = {3, 2, 10, 5, 0};
        ASSERT_EQ(f.ed.MakeArray(), TransformStatus::Ok);
        ASSERT_EQ(f.ed.undos.size(), 5u);
        const int per = d.r12 ? objects : 1;
        ASSERT_EQ(f.ed.model.anzpoly, all + 5 * per);
        const double offsets[5][2] = {{0, 5}, {10, 0}, {10, 5}, {20, 0}, {20, 5}};
        int at = 0;
        while (!f.ed.model.polys[size_t(at)].issolid)
            ++at;
        const model::tpoly& solid = f.ed.model.polys[size_t(at)];
        for (int c = 0; c < 5; ++c) {
            const model::tpoly& copy = f.ed.model.polys[size_t(all + c * per + (d.r12 ? at - first : 0))];
            ASSERT_TRUE(copy.issolid);
            for (int k = 0; k < 4; ++k)
                EXPECT_TRUE(near(solid.ps[size_t(k)].x + offsets[c][0], copy.ps[size_t(k)].x, false) &&
                            near(solid.ps[size_t(k)].y + offsets[c][1], copy.ps[size_t(k)].y, false))
                    << "copy " << c << " corner " << k;
        }
        if (!d.r12) {
            const std::string path = tmp.path("array.dxf");
            ASSERT_TRUE(f.ed.SaveFileUnder(path));
            EXPECT_EQ(test::ezdxfAudit(tmp, path), "");
        }
        while (!f.ed.undos.empty())
            f.ed.Rckgngig1Click();
        EXPECT_EQ(f.ed.dxf.lines, original);

        if (!d.r12) {  // what a mirror writes and adds, too
            f.ed.AllesAuswhlen1Click();
            ASSERT_EQ(f.ed.RotateObjects(3, 1, 8, 6.5, 1), TransformStatus::Ok);
            const std::string path = tmp.path("mirrored.dxf");
            ASSERT_TRUE(f.ed.SaveFileUnder(path));
            EXPECT_EQ(test::ezdxfAudit(tmp, path), "");
        }
    }
}

// What would write degenerate or unreadable values changes nothing and tells the user; a
// transform with nothing selected still leaves its (empty) step, a copy none.
TEST(Transforms, RefusalsAndEmptySelections)
{
    TransformFixture f(false, test::kEntities2000);
    const Lines original = f.ed.dxf.lines.strings();
    const struct {
        const char* what;
        std::function<TransformStatus(Editor&)> op;
        TransformStatus status;
    } refusals[] = {
        {"scale by 0", [](Editor& ed) { return ed.RotateObjects(1, 2, 1, 2, 2); }, TransformStatus::ZeroScale},
        {"mirror line of length 0", [](Editor& ed) { return ed.RotateObjects(1, 2, 1, 2, 1); },
         TransformStatus::ZeroMirrorLine},
        {"infinite move", [](Editor& ed) { return ed.MoveObjects(INFINITY, 0); }, TransformStatus::NotFinite},
        {"a scale beyond the numbers", [](Editor& ed) { return ed.RotateObjects(0, 0, 1e308, 0, 2); },
         TransformStatus::NotFinite},
        {"rotation dialog with no number", [](Editor& ed) {
             ed.rotationValues.rot = NAN;
             return ed.rotateByDialog(0, 0);
         }, TransformStatus::NotFinite},
        {"scale dialog at 0 %", [](Editor& ed) {
             ed.scaleValues.skal = 0;
             return ed.scaleByDialog(0, 0);
         }, TransformStatus::ZeroScale},
        {"array of too many copies", [](Editor& ed) {
             ed.arrayValues = {10000, 10000, 1, 1, 0};
             return ed.MakeArray();
         }, TransformStatus::TooLarge},
    };
    for (const auto& r : refusals) {
        SCOPED_TRACE(r.what);
        f.ui.shown.clear();
        f.ed.AllesAuswhlen1Click();
        EXPECT_EQ(r.op(f.ed), r.status);
        EXPECT_EQ(f.ed.dxf.lines, original);
        EXPECT_TRUE(f.ed.undos.empty());
        ASSERT_EQ(f.ui.shown.size(), 1u);
        EXPECT_EQ(f.ui.shown[0].icon, MsgIcon::Error);
    }

    f.ui.shown.clear();
    f.ed.Nichtsauswhlen1Click();
    EXPECT_EQ(f.ed.MoveObjects(1, 1), TransformStatus::Ok);
    EXPECT_EQ(f.ed.RotateObjects(0, 0, 1, 1, 0), TransformStatus::Ok);
    EXPECT_EQ(f.ed.undos.size(), 2u);
    EXPECT_TRUE(f.ed.undos[0].actions.empty() && f.ed.undos[1].actions.empty());
    EXPECT_EQ(f.ed.CopyObjects(1, 1), TransformStatus::Ok);
    EXPECT_EQ(f.ed.undos.size(), 2u);
    EXPECT_EQ(f.ed.dxf.lines, original);
    EXPECT_TRUE(f.ui.shown.empty());
}
