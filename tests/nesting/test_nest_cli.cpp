// The transfer of an arrangement into the drawing, in the editor and through
// kerbon-cli nest: objects land at their places with their holes, one undo step per part,
// the same drawing for any thread count, overflow and refused settings.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "dxf/LineStore.h"
#include "dxf/processdxf.h"
#include "edit/Editor.h"
#include "nest_fixture.h"
#include "nesting/nest_transfer.h"
#include "support/Ezdxf.h"
#include "support/RunCli.h"
#include "support/ScriptedUi.h"

using namespace kerbon;
using namespace kerbon::nest;
using kerbon::test::CliRun;
using kerbon::test::runCli;
using kerbon::test::shq;
using kerbon::test::TempDir;

namespace {

// Five plates (layer "Kontur") with 17 holes (layer "Bohrungen") inside them.
std::string partsDxf()
{
    const char* d = std::getenv("KERBON_TEST_DATA");
    return std::string(d ? d : "data/") + "examples/parts.dxf";
}

}  // namespace

TEST(NestTransfer, ObjectsLandAtTheirPlacesWithTheirHolesAndUndoRestoresTheText)
{
    kerbon::test::ScriptedUi ui;
    Editor ed(ui);
    ASSERT_TRUE(ed.openfilewithname(partsDxf()));
    const std::vector<std::string> before = ed.dxf.lines.strings();
    Schachtelung n;
    n.Uebernehmen(ed.model, 0, true);
    ASSERT_EQ(n.elemente.count(), 5u);
    ASSERT_EQ(n.objectCount(), 22);
    NestSettings s;
    s.pw = 200, s.ph = 400, s.distance = 2, s.seitenrand = 3, s.anziterations = 5;
    nest::test::nestSearch(n, s, 11, 2);
    transferInto(ed, n);
    EXPECT_EQ(ed.undos.size(), 5u);  // one step per part

    // Taken over again, the drawing holds the same parts, each where the search put it.
    Schachtelung after;
    after.Uebernehmen(ed.model, 0, true);
    ASSERT_EQ(nest::test::groups(after), nest::test::groups(n));
    for (uint32_t i = 0; i < n.elemente.count(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(after.elemente.recordAt(i).minx, n.elemente.recordAt(i).x, 1e-9);
        EXPECT_NEAR(after.elemente.recordAt(i).miny, n.elemente.recordAt(i).y, 1e-9);
    }
    while (!ed.undos.empty())
        ed.Rckgngig1Click();
    EXPECT_EQ(ed.dxf.lines, before);
}

TEST(NestCli, WritesTheSameDrawingForAnyThreadCount)
{
    TempDir tmp;
    const std::string common = " --width 200 --height 300 --spacing 2 --margin 3 --iterations 8"
                               " --seed 4 --json";
    const CliRun one = runCli(tmp, "nest " + shq(partsDxf()) + " " + shq(tmp.path("one.dxf")) +
                                       common + " --threads 1");
    const CliRun two = runCli(tmp, "nest " + shq(partsDxf()) + " " + shq(tmp.path("two.dxf")) +
                                       common + " --threads 2");
    ASSERT_EQ(one.status, 0) << one.err;
    ASSERT_EQ(two.status, 0) << two.err;
    for (const char* key : {"\"elements\": 22", "\"groups\": 5", "\"iterations\": 8", "\"seed\": 4",
                            "\"threads\": 1", "\"used_width\": ", "\"used_height\": ",
                            "\"over\": false", "\"seconds\": "})
        EXPECT_NE(one.out.find(key), std::string::npos) << key << " in " << one.out;
    const std::string a = kerbon::test::readBytes(tmp.path("one.dxf"));
    EXPECT_EQ(a, kerbon::test::readBytes(tmp.path("two.dxf")));
    EXPECT_NE(a, kerbon::test::readBytes(partsDxf()));
    EXPECT_EQ(kerbon::test::ezdxfAudit(tmp, tmp.path("one.dxf")), "");

    // Every part lies on the sheet within the margin, its holes still inside it.
    LineStore store;
    ASSERT_TRUE(loadLines(tmp.path("one.dxf"), store));
    model::DisplayModel m;
    processdxf(store, m);
    Schachtelung n;
    n.Uebernehmen(m, 0, true);
    EXPECT_EQ(n.elemente.count(), 5u);
    EXPECT_EQ(n.objectCount(), 22);
    EXPECT_GE(n.gminx, 3 - 1e-9);
    EXPECT_GE(n.gminy, 3 - 1e-9);
    EXPECT_LE(n.gmaxx, 200 - 3 + 1e-9);
    EXPECT_LE(n.gmaxy, 300 - 3 + 1e-9);
}

TEST(NestCli, OverflowIsSavedWithExitCodeThreeAndBadSettingsAreRefused)
{
    TempDir tmp;
    const std::string src = shq(partsDxf()), dst = shq(tmp.path("out.dxf"));
    const CliRun over = runCli(tmp, "nest " + src + " " + dst + " --width 200 --height 60 --seed 1");
    EXPECT_EQ(over.status, 3);
    EXPECT_NE(over.err.find("Konnte nicht alle Elemente auf dem Blatt unterbringen"), std::string::npos);
    EXPECT_FALSE(kerbon::test::readBytes(tmp.path("out.dxf")).empty());

    struct Case {
        const char* args;
        const char* says;
    };
    const Case cases[] = {
        {"--height 100", "usage"},
        {"--width 0 --height 100", "--width"},
        {"--width 200 --height -1", "--height"},
        {"--width 200 --height 100 --spacing 200", "--spacing"},
        {"--width 200 --height 100 --margin 100", "--margin"},
        {"--width 200 --height 100 --pixels 19", "--pixels"},
        {"--width 200 --height 100 --iterations 0", "--iterations"},
        {"--width 200 --height 100 --threads 0", "--threads"},
        {"--width nan --height 100", "--width"},
        {"--width 2000 --height 1 --margin 0", "too low"},
        {"--width 1 --height 1e9 --spacing 0 --margin 0", "too large"},
        {"--width 200 --height 100 --rotate", "usage"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        const CliRun r = runCli(tmp, "nest " + src + " " + shq(tmp.path("bad.dxf")) + " " + c.args);
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_TRUE(kerbon::test::readBytes(tmp.path("bad.dxf")).empty());
    }

    // Settings the sheet allows, but 40 parts each covering the whole raster would need
    // masks beyond any sensible memory: refused, nothing written.
    std::string huge = "0\nSECTION\n2\nENTITIES\n";
    for (int i = 0; i < 40; ++i)
        huge += "0\nLINE\n8\n0\n10\n" + std::to_string(i) + "\n20\n0\n11\n1e9\n21\n1e9\n";
    huge += "0\nENDSEC\n0\nEOF\n";
    kerbon::test::writeBytes(tmp.path("huge.dxf"), huge);
    const CliRun r = runCli(tmp, "nest " + shq(tmp.path("huge.dxf")) + " " + shq(tmp.path("bad.dxf")) +
                                     " --width 1 --height 67 --pixels 1000 --spacing 0 --margin 0");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("too large"), std::string::npos) << r.err;
    EXPECT_TRUE(kerbon::test::readBytes(tmp.path("bad.dxf")).empty());
}
