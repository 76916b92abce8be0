// The entity writers: every one in an R12 and an R2000 drawing read back by an independent
// reader, the exact lines of the cases that are easy to get wrong, and the refusals.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>

#include "edit/EditorFixture.h"
#include "edit/script.h"
#include "edit/writers.h"
#include "support/Ezdxf.h"

using namespace kerbon;
using kerbon::test::EditorFixture;
using kerbon::test::runScript;

namespace {

using Lines = std::vector<std::string>;

// The pairs of the last object after its frame (from its subclass marker on, or after the
// layer in R12), as "code=value".
Lines geometry(const EditorFixture& f)
{
    const model::tpoly& p = f.ed.model.polys[size_t(f.ed.model.anzpoly - 1)];
    Lines out;
    bool subclass = false;
    for (int k = p.linefrom; k + 1 <= p.linebis; k += 2) {
        const std::string code(trimDxf(f.ed.dxf[k])), value(f.ed.dxf[k + 1]);
        out.push_back(code + "=" + value);
        if (code == "8" || (code == "100" && value != "AcDbEntity" && !subclass)) {
            subclass = code == "100";
            out.clear();
        }
    }
    return out;
}

bool anyNotFinite(const LineStore& dxf)
{
    for (const std::string_view l : dxf.lines)
        if (l.find("nan") != std::string_view::npos || l.find("inf") != std::string_view::npos)
            return true;
    return false;
}

}  // namespace

TEST(Writers, EveryWriterInBothVersionsLoadsInAnIndependentReaderWithoutAuditErrors)
{
    const std::string both = "line 0 0 10 5\n"
                             "polyline 0 0 10 0 10 10 closed\n"
                             "rect 20 0 30 10\n"
                             "polygon 50 50 60 50 6\n"
                             "circle 0 0 5\n"
                             "circle3 0 0 1 1 2 0\n"
                             "arc 0 0 5 -30 10\n"
                             "arc3 0 0 1 -1 2 0\n"
                             "point 5 5\n"
                             "solid 0 0 10 0 10 10 0 10\n"
                             "solid 0 0 10 0 5 5\n"
                             "arrow 0 0 10 10\n"
                             "text 0 0 1 \"Maß ä\" 30\n"
                             "dimension 0 0 10 0 5 3\n"
                             "tab 1; line 1 1 2 2; circle 3 3 1; tab 0\n";
    const std::string later = "xline 0 0 10 5\n"
                              "ray 2 2 3 2\n"
                              "ellipse 100 100 10 0 0.5\n"
                              "ellipse 100 100 10 0 2\n"
                              "spline 0 0 10 10 20 0 30 10 40 0\n"
                              "spline 0 0 10 10 20 0 closed\n"
                              "spline 0 0 10 10\n"
                              "text 0 0 1 \"two\\nlines\"\n";
    for (const char* tmpl : {"template0.dat", "template1.dat"}) {
        SCOPED_TRACE(tmpl);
        EditorFixture f(tmpl);
        const bool r12 = std::string(tmpl) == "template0.dat";
        ASSERT_EQ(runScript(f.ed, both + (r12 ? "" : later)), "");
        EXPECT_FALSE(anyNotFinite(f.ed.dxf));
        test::TempDir tmp;
        const std::string out = tmp.path("out.dxf");
        ASSERT_TRUE(f.ed.SaveFileUnder(out));
        EXPECT_EQ(test::ezdxfAudit(tmp, out), "");
    }
}

TEST(Writers, WriteTheLinesOfTheirEntity)
{
    struct Case {
        const char* tmpl;
        const char* command;
        Lines want;  // after the frame
    };
    const Case cases[] = {
        // The file keeps the third and fourth corner swapped.
        {"template1.dat", "solid 0 0 10 0 10 10 0 10",
         {"10=0", "20=0", "30=0", "11=10", "21=0", "31=0", "12=0", "22=10", "32=0", "13=10",
          "23=10", "33=0"}},
        {"template1.dat", "arc 0 0 2 -30 10",
         {"10=0", "20=0", "30=0", "40=2", "100=AcDbArc", "50=330", "51=370"}},
        {"template0.dat", "arc3 0 0 1 1 2 0", {"10=1", "20=0", "30=0", "40=1", "50=0", "51=180"}},
        {"template1.dat", "circle3 0 0 1 1 2 0", {"10=1", "20=0", "30=0", "40=1"}},
        {"template1.dat", "point 1.5 -2", {"10=1.5", "20=-2", "30=0"}},
        // A ratio above 1 turns the axes: the major axis is the former minor one.
        {"template1.dat", "ellipse 1 1 10 0 2",
         {"10=1", "20=1", "30=0", "11=0", "21=20", "31=0", "40=0.5"}},
        {"template1.dat", "text 1 2 0.25 \"a b\" 45",
         {"10=1", "20=2", "30=0", "40=0.25", "50=45", "1=a b\\P"}},
        {"template0.dat", "text 1 2 0.25 \"a b\"",
         {"10=1", "20=2", "30=0", "40=0.25", "50=0", "1=a b"}},
        {"template1.dat", "spline 0 0 10 10 20 0",
         {"72=6", "73=3", "71=2", "40=0", "40=0", "40=0", "40=1", "40=1", "40=1", "10=0",
          "20=0", "30=0", "10=10", "20=20", "30=0", "10=20", "20=0", "30=0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        EditorFixture f(c.tmpl);
        ASSERT_EQ(runScript(f.ed, c.command), "");
        EXPECT_EQ(geometry(f), c.want);
    }
}

TEST(Writers, PolylineBulgesAreNegatedAndR12PolylinesGetAHandleForEveryPart)
{
    EditorFixture f("template1.dat");
    f.ed.polyline0.assign(3, model::Tmypoi{});
    f.ed.polyline0[1].x = 10;
    f.ed.polyline0[0].bulge = 0.5;
    ASSERT_EQ(f.ed.AddPolyLine(false), WriteStatus::Ok);
    EXPECT_EQ(geometry(f), (Lines{"90=3", "10=0", "20=0", "42=-0.5", "10=10", "20=0", "10=0",
                                  "20=0"}));  // no 30 per vertex, no 42 for bulge 0

    EditorFixture r12("template0.dat");
    r12.ed.polyline0 = f.ed.polyline0;
    ASSERT_EQ(r12.ed.AddPolyLine(true), WriteStatus::Ok);
    const model::tpoly& p = r12.ed.model.polys[0];
    Lines text(r12.ed.dxf.lines.begin() + p.linefrom, r12.ed.dxf.lines.begin() + p.linebis + 1);
    EXPECT_EQ(text, (Lines{"  0", "POLYLINE", "  5", "20", "  8", "0", " 66", "1", "  10", "0",
                           "  20", "0", "  30", "0", " 70", "1",
                           "  0", "VERTEX", "  5", "21", "  8", "0", "  10", "0", "  20", "0",
                           "  30", "0", "  42", "-0.5",
                           "  0", "VERTEX", "  5", "22", "  8", "0", "  10", "10", "  20", "0",
                           "  30", "0",
                           "  0", "VERTEX", "  5", "23", "  8", "0", "  10", "0", "  20", "0",
                           "  30", "0",
                           "  0", "SEQEND", "  5", "24", "  8", "0"}));
    EXPECT_EQ(r12.headerValue("$HANDSEED"), "25");
    EXPECT_EQ(r12.ed.undos.size(), 1u);
}

TEST(Writers, RegularPolygonStartsAQuarterTurnFromThePointAndGoesClockwise)
{
    EditorFixture f("template1.dat");
    ASSERT_EQ(runScript(f.ed, "polygon 0 0 10 0 4"), "");
    const model::tpoly& p = f.ed.model.polys[0];
    EXPECT_TRUE(p.isclosed);
    const double want[5][2] = {{0, 10}, {10, 0}, {0, -10}, {-10, 0}, {0, 10}};
    ASSERT_GE(p.anzp, 5);  // the display closes the outline with one more vertex
    for (int i = 0; i < 5; ++i) {
        EXPECT_NEAR(p.ps[size_t(i)].x, want[i][0], 1e-12);
        EXPECT_NEAR(p.ps[size_t(i)].y, want[i][1], 1e-12);
    }
    EXPECT_EQ(f.ed.polygonValues.ecken, 4);  // offered again next time
}

TEST(Writers, LongMtextIsCutInto250CharacterChunksNeverInsideACharacter)
{
    const auto chunks = mtextChunks({std::string(600, 'x')});
    ASSERT_EQ(chunks.size(), 3u);
    EXPECT_STREQ(chunks[0].first, "  3");
    EXPECT_EQ(chunks[0].second, std::string(250, 'x'));
    EXPECT_EQ(chunks[1].second, std::string(250, 'x'));
    EXPECT_STREQ(chunks[2].first, "  1");
    EXPECT_EQ(chunks[2].second, std::string(100, 'x') + "\\P");

    // 249 single bytes, then two-byte and four-byte characters: the cut falls after the
    // 250th character, never inside one.
    const std::string text = std::string(249, 'a') + "äö🔩b";
    const auto cut = mtextChunks({text});
    ASSERT_EQ(cut.size(), 2u);
    EXPECT_EQ(cut[0].second, std::string(249, 'a') + "ä");
    EXPECT_EQ(cut[1].second, "ö🔩b\\P");
    EXPECT_EQ(mtextChunks({std::string(248, 'y')}).size(), 1u);  // 250 with "\P"
}

TEST(Writers, MultiLineTextInR12KeepsTheFirstLineAndTellsTheUser)
{
    EditorFixture f("template0.dat");
    f.ed.textValues.text = "erste\nzweite\n";
    EXPECT_EQ(f.ed.AddText(0, 0, 0, 1), WriteStatus::FirstLineOnly);
    EXPECT_EQ(geometry(f).back(), "1=erste");
    ASSERT_EQ(f.ui.shown.size(), 1u);
    EXPECT_EQ(f.ui.shown[0].text, f.ed.messageText(36));

    EditorFixture later("template1.dat");
    later.ed.textValues.text = "erste\nzweite\n";
    EXPECT_EQ(later.ed.AddText(0, 0, 0, 1), WriteStatus::Ok);
    EXPECT_EQ(geometry(later).back(), "1=erste\\Pzweite\\P");
}

TEST(Writers, RefusalsWriteNothingAndNothingNotFiniteIsEverWritten)
{
    const double nan = std::nan("");
    struct Case {
        const char* what;
        const char* tmpl;
        std::function<WriteStatus(Editor&)> call;
        WriteStatus want;
        bool told;
        std::function<void(Editor&)> setup = nullptr;  // the drawing before the call
    };
    const Case cases[] = {
        {"circle through collinear points", "template1.dat",
         [](Editor& e) { return e.AddCircleDurch3Punkte(0, 0, 0, 1, 1, 0, 2, 2, 0); },
         WriteStatus::Collinear, false},
        {"arc through coincident points", "template1.dat",
         [](Editor& e) { e.arcmode = 0; return e.AddArc(1, 1, 0, 1, 1, 0, 3, 3, 0); },
         WriteStatus::Collinear, false},
        {"arrow of zero length", "template1.dat",
         [](Editor& e) { return e.AddArrowToLine(2, 2, 2, 2); }, WriteStatus::ZeroLength,
         false},
        {"ellipse by axes whose points coincide", "template1.dat",
         [](Editor& e) { e.arcmode = 0; return e.AddEllipse(1, 1, 0, 1, 1, 0, 2, 2, 0); },
         WriteStatus::ZeroAxis, true},
        {"ellipse without a second axis", "template1.dat",
         [](Editor& e) { e.arcmode = 2; return e.AddEllipse(1, 1, 0, 5, 1, 0, 1, 1, 0); },
         WriteStatus::ZeroAxis, true},
        {"ellipse in R12", "template0.dat",
         [](Editor& e) { e.arcmode = 2; return e.AddEllipse(1, 1, 0, 5, 1, 0, 1, 2, 0); },
         WriteStatus::NoEllipse, true},
        {"spline in R12", "template0.dat",
         [](Editor& e) {
             e.polyline0.assign(4, model::Tmypoi{});
             return e.AddSPLINE(false);
         },
         WriteStatus::NoSpline, true},
        {"polyline of one point", "template1.dat",
         [](Editor& e) { e.polyline0.assign(1, model::Tmypoi{}); return e.AddPolyLine(false); },
         WriteStatus::TooFewPoints, false},
        {"text of height 0", "template1.dat",
         [](Editor& e) { return e.AddText(0, 0, 0, 0); }, WriteStatus::BadSize, true},
        {"circle about NaN", "template1.dat",
         [nan](Editor& e) { return e.AddCircle(nan, 0, 0, 1, 0, 0); }, WriteStatus::NotFinite,
         true},
        {"polygon through an infinite point", "template1.dat",
         [](Editor& e) { return e.AddPolyGon(0, 0, 0, HUGE_VAL, 0, 0); },
         WriteStatus::NotFinite, true},
        {"handles used up", "template1.dat", [](Editor& e) { return e.AddPoint(0, 0, 0); },
         WriteStatus::NoHandles, true,
         [](Editor& e) {
             e.dxf.replace(e.model.handleseedpos, "7FFFFFFF");
             e.processdxf();
         }},
        {"arc of a huge radius", "template1.dat",
         [](Editor& e) { e.arcmode = 1; return e.AddArc(-1e308, 0, 0, 1e308, 0, 0, 1, 0, 0); },
         WriteStatus::NotFinite, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EditorFixture f(c.tmpl);
        if (c.setup)
            c.setup(f.ed);
        const Lines before = f.ed.dxf.lines.strings();
        EXPECT_EQ(c.call(f.ed), c.want);
        EXPECT_EQ(f.ed.dxf.lines, before);
        EXPECT_TRUE(f.ed.undos.empty());
        EXPECT_EQ(f.ui.shown.size(), c.told ? 1u : 0u);
    }
    // Degenerate but finite objects are written as given.
    EditorFixture f("template1.dat");
    f.ed.arcmode = 1;
    EXPECT_EQ(f.ed.AddArc(1, 1, 0, 1, 1, 0, 2, 1, 0), WriteStatus::Ok);  // radius 0
    EXPECT_EQ(f.ed.AddPolyGon(3, 3, 0, 3, 3, 0), WriteStatus::Ok);
    EXPECT_FALSE(anyNotFinite(f.ed.dxf));
}

TEST(AddDimension, ThreeLinesTwoHeadsAndTheTextOfTheDialogInSixSteps)
{
    EditorFixture f("template1.dat");
    const Lines original = f.ed.dxf.lines.strings();
    f.ui.inputAnswers = {false};  // cancelled: the text is written all the same
    ASSERT_EQ(runScript(f.ed, "dimension 0 0 12.5 0 6 3"), "");
    ASSERT_EQ(f.ui.textShown.size(), 1u);
    EXPECT_EQ(f.ui.textShown[0].text, "12.50");
    const model::DisplayModel& m = f.ed.model;
    ASSERT_EQ(m.anzpoly, 6);
    EXPECT_EQ(m.polys[2].reinx, 0);  // the dimension line at the distance of the click
    EXPECT_EQ(m.polys[2].reiny, 3);
    EXPECT_EQ(m.polys[2].rausx, 12.5);
    EXPECT_TRUE(m.polys[3].issolid && m.polys[4].issolid);
    EXPECT_EQ(m.polys[5].textstr.substr(0, 5), "12.50");
    // Centred on the middle of the dimension line: the left edge half a text width left.
    EXPECT_LT(m.polys[5].ps[0].x, 6.25);
    EXPECT_GT(m.polys[5].ps[0].x, 6.25 - 1);
    EXPECT_EQ(f.ed.undos.size(), 6u);
    for (int i = 0; i < 6; ++i)
        f.ed.Rckgngig1Click();
    EXPECT_EQ(f.ed.dxf.lines, original);
}

TEST(AddSPLINE, FiveClickedPointsGiveFiveControlPointsThroughTheEnds)
{
    EditorFixture f("template1.dat");
    ASSERT_EQ(runScript(f.ed, "spline 0 0 10 10 20 0 30 10 40 0"), "");
    const Lines g = geometry(f);
    ASSERT_GE(g.size(), 13u);
    EXPECT_EQ(Lines(g.begin(), g.begin() + 12),
              (Lines{"72=9", "73=5", "71=3", "40=0", "40=0", "40=0", "40=0", "40=1", "40=2",
                     "40=2", "40=2", "40=2"}));
    EXPECT_EQ(Lines(g.begin() + 12, g.begin() + 15), (Lines{"10=0", "20=0", "30=0"}));
    EXPECT_EQ(Lines(g.end() - 3, g.end()), (Lines{"10=40", "20=0", "30=0"}));

    ASSERT_EQ(runScript(f.ed, "spline 0 0 10 10 20 0 30 10 closed"), "");
    const Lines c = geometry(f);
    EXPECT_EQ(Lines(c.begin(), c.begin() + 4), (Lines{"72=9", "73=5", "70=1", "71=3"}));
}

TEST(SplineTargets, TangentClicksBecomeFixedTangentPoints)
{
    std::vector<model::Tmypoi> pts(5);
    const double xy[5][2] = {{0, 0}, {10, 0}, {20, 0}, {-5, 0}, {30, 5}};  // p0 p1 p2 s e
    for (int i = 0; i < 5; ++i)
        pts[size_t(i)].x = xy[i][0], pts[size_t(i)].y = xy[i][1];
    const SplineTargets t = splineTargets(pts, 2);
    ASSERT_EQ(t.q.size(), 5u);
    // T1 = p0 + |p0 p1| / 2 away from s; T2 = p2 + |p2 p1| / 2 away from e.
    EXPECT_DOUBLE_EQ(t.q[1].x, 5);
    EXPECT_NEAR(t.q[1].y, 0, 1e-12);
    EXPECT_NEAR(t.q[3].x, 20 - 5 * 10 / std::hypot(10, 5), 1e-12);
    EXPECT_NEAR(t.q[3].y, -5 * 5 / std::hypot(10, 5), 1e-12);
    EXPECT_EQ(t.q[2].x, 10);
    EXPECT_EQ(t.fixed, (std::vector<bool>{true, true, false, true, true}));
}
