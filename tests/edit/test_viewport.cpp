// Viewports: their defaults from the page and the drawing, the text written for both
// drawing versions (read back by the parser and an independent reader), the automatic
// viewports of an empty layout tab, the dialog command and the script command.
#include <gtest/gtest.h>

#include <set>

#include "edit/EditorFixture.h"
#include "edit/LayoutFilter.h"
#include "edit/script.h"
#include "edit/Viewport.h"
#include "support/Ezdxf.h"
#include "support/TempFiles.h"

using namespace kerbon;
using kerbon::test::EditorFixture;

namespace {

// The viewports of the model, in list order.
std::vector<const model::tpoly*> viewports(const model::DisplayModel& m)
{
    std::vector<const model::tpoly*> out;
    for (int i = 0; i < m.anzpoly; ++i)
        if (m.polys[size_t(i)].isviewport)
            out.push_back(&m.polys[size_t(i)]);
    return out;
}

// A layout "Layout2" keeping its entities in the block "*Paper_Space0", and a model line
// from (0, 0) to (40, 10).
const char* const layoutWithBlock =
    "0|SECTION|2|HEADER|9|$ACADVER|1|AC1015|9|$HANDSEED|5|40|0|ENDSEC|"
    "0|SECTION|2|BLOCKS|0|BLOCK|5|20|330|1C|2|*Paper_Space0|3|*Paper_Space0|"
    "0|ENDBLK|5|22|0|ENDSEC|"
    "0|SECTION|2|ENTITIES|0|LINE|5|23|330|1B|8|0|10|0|20|0|11|40|21|10|0|ENDSEC|"
    "0|SECTION|2|OBJECTS|0|LAYOUT|5|30|1|Model|71|0|330|1B|"
    "0|LAYOUT|5|31|1|Layout2|71|2|330|1C|0|ENDSEC|0|EOF";

std::string savedAudit(EditorFixture& f)
{
    kerbon::test::TempDir tmp;
    const std::string path = tmp.path("out.dxf");
    if (!f.ed.SaveFileUnder(path))
        return "not saved";
    return kerbon::test::ezdxfAudit(tmp, path);
}

}  // namespace

TEST(viewportDefaults, ThePrintablePageLessTwelveMillimetresShowingTheWholeDrawing)
{
    EditorFixture f;
    f.setText(layoutWithBlock);
    view::PageValues page;
    page.dpi = 600, page.pagewidth = 210 / view::mmPerInch * 600, page.pageheight = 297 / view::mmPerInch * 600;
    page.rand = 10;
    ViewportValues v = viewportDefaults(f.ed.model, page);
    EXPECT_NEAR(v.breite, 166, 1e-9);
    EXPECT_NEAR(v.hoehe, 253, 1e-9);
    EXPECT_NEAR(v.mitteX, 95, 1e-9);
    EXPECT_NEAR(v.mitteY, 138.5, 1e-9);
    EXPECT_EQ(v.inhaltX, 20);
    EXPECT_EQ(v.inhaltY, 5);
    // The line (40 x 10) is wider than the viewport's shape: twice its width fills the
    // viewport's width, not twice its height (20) the viewport's height.
    EXPECT_NEAR(v.heiCont, 2 * 40 * 253 / 166.0, 1e-9);

    // 2 mm per unit halves the sheet in drawing units; the view keeps the shape. The
    // viewport stays 12 mm inside the printable area, which the offsets move.
    page.mm = 2;
    page.xoffset = 5, page.yoffset = 7;
    v = viewportDefaults(f.ed.model, page);
    EXPECT_NEAR(v.breite, 83, 1e-9);
    EXPECT_NEAR(v.hoehe, 126.5, 1e-9);
    EXPECT_NEAR(v.mitteX, (12 - 5) / 2.0 + 83 / 2.0, 1e-9);
    EXPECT_NEAR(v.mitteY, (12 - 7) / 2.0 + 126.5 / 2.0, 1e-9);
    EXPECT_NEAR(v.heiCont, 2 * 40 * 253 / 166.0, 1e-9);
    page.xoffset = page.yoffset = 0;

    // A tall drawing: twice its height.
    page.mm = 1;
    ASSERT_EQ(f.ed.AddLine(0, 0, 0, 0, 400, 0), WriteStatus::Ok);
    v = viewportDefaults(f.ed.model, page);
    EXPECT_EQ(v.heiCont, 800);

    // A drawing without height (nothing at all, or only a horizontal line) is shown one to
    // one instead of with a view height of 0.
    f.setText("0|SECTION|2|ENTITIES|0|ENDSEC|0|EOF");
    page.mm = 1;
    v = viewportDefaults(f.ed.model, page);
    EXPECT_NEAR(v.heiCont, v.hoehe, 1e-9);
}

TEST(AddViewport, TextReadsBackInBothVersionsAndAnIndependentReaderAcceptsIt)
{
    for (const char* tmpl : {"template1.dat", "template0.dat"}) {
        SCOPED_TRACE(tmpl);
        EditorFixture f(tmpl);
        const bool r12 = std::string(tmpl) == "template0.dat";
        f.ed.view.tabindex = 1;
        ASSERT_EQ(f.ed.AddViewport(95, 138.5, 166, 253, 12.5, -7.25, 40, false), WriteStatus::Ok);
        const auto vps = viewports(f.ed.model);
        ASSERT_EQ(vps.size(), 1u);
        const model::tpoly& p = *vps[0];
        EXPECT_EQ(p.viewid, 3);  // the highest number of a drawing without viewports is 2
        EXPECT_EQ(std::make_tuple(p.cx, p.cy, p.widx, p.widy), std::make_tuple(95.0, 138.5, 166.0, 253.0));
        EXPECT_EQ(std::make_tuple(p.panx, p.pany, p.viewheight), std::make_tuple(12.5, -7.25, 40.0));
        EXPECT_TRUE(p.ispaperspace);
        const std::vector<std::string> t = f.entityText(p.han);
        const bool hasSubclass = std::find(t.begin(), t.end(), "AcDbViewport") != t.end();
        const bool hasMview = std::find(t.begin(), t.end(), "MVIEW") != t.end();
        EXPECT_EQ(hasSubclass, !r12);
        EXPECT_EQ(hasMview, r12);
        EXPECT_EQ(savedAudit(f), "");
        // One undo step takes it away again.
        f.ed.Rckgngig1Click();
        EXPECT_TRUE(viewports(f.ed.model).empty());
    }
}

TEST(AddViewport, OnTheModelTabItLiesInModelSpaceAndNumbersFollowTheHighest)
{
    EditorFixture f("template1.dat");
    ASSERT_EQ(f.ed.AddViewport(0, 0, 10, 10, 0, 0, 10, false), WriteStatus::Ok);
    const model::tpoly& first = *viewports(f.ed.model)[0];
    EXPECT_EQ(first.layhan, f.ed.model.layouts[0].layhan);
    EXPECT_FALSE(first.ispaperspace);
    const std::vector<std::string> t = f.entityText(first.han);
    EXPECT_EQ(std::find(t.begin(), t.end(), " 67"), t.end());
    // After one numbered 3, the next gets 4; the sheet viewport is always 1.
    ASSERT_EQ(f.ed.AddViewport(0, 0, 10, 10, 0, 0, 10, false), WriteStatus::Ok);
    ASSERT_EQ(f.ed.AddViewport(0, 0, 10, 10, 0, 0, 10, true), WriteStatus::Ok);
    const auto vps = viewports(f.ed.model);
    ASSERT_EQ(vps.size(), 3u);
    EXPECT_EQ(std::make_tuple(vps[0]->viewid, vps[1]->viewid, vps[2]->viewid), std::make_tuple(3, 4, 1));
    // A value that is no number writes nothing.
    EXPECT_EQ(f.ed.AddViewport(0, 0, 10, 10, 0, 0, std::nan(""), false), WriteStatus::NotFinite);
    EXPECT_EQ(viewports(f.ed.model).size(), 3u);
}

TEST(TabControl1Change, AnEmptyLayoutGetsItsViewportsOnceEachAsAnUndoStep)
{
    // A layout kept in a block of its own: the sheet viewport 1 and a numbered one, both
    // members of the block.
    {
        EditorFixture f;
        f.setText(layoutWithBlock);
        f.ed.TabControl1Change(1);
        auto vps = viewports(f.ed.model);
        ASSERT_EQ(vps.size(), 2u);
        EXPECT_EQ(vps[0]->viewid, 1);
        EXPECT_EQ(vps[1]->viewid, 3);
        for (const model::tpoly* p : vps) {
            EXPECT_TRUE(p->isblock);
            EXPECT_EQ(p->theblockname, "*Paper_Space0");
        }
        EXPECT_EQ(vps[1]->panx, 20);
        EXPECT_TRUE(f.ed.changed);
        EXPECT_EQ(f.ed.undos.size(), 2u);
        f.ed.TabControl1Change(0);
        f.ed.TabControl1Change(1);  // it has both now
        EXPECT_EQ(f.ed.undos.size(), 2u);
        f.ed.Rckgngig1Click();  // the numbered one goes first
        vps = viewports(f.ed.model);
        ASSERT_EQ(vps.size(), 1u);
        EXPECT_EQ(vps[0]->viewid, 1);
    }
    // The first paper-space layout ("*Paper_Space") never gets a viewport 1; neither does
    // the paper space of a drawing without layouts.
    for (const char* tmpl : {"template1.dat", "template0.dat"}) {
        SCOPED_TRACE(tmpl);
        EditorFixture f(tmpl);
        f.ed.TabControl1Change(1);
        const auto vps = viewports(f.ed.model);
        ASSERT_EQ(vps.size(), 1u);
        EXPECT_EQ(vps[0]->viewid, 3);
        EXPECT_TRUE(vps[0]->ispaperspace);
        EXPECT_EQ(f.ed.undos.size(), 1u);
    }
    // The model tab never gets one.
    {
        EditorFixture f("template1.dat");
        f.ed.TabControl1Change(0);
        EXPECT_TRUE(viewports(f.ed.model).empty());
        EXPECT_FALSE(f.ed.changed);
    }
    // A drawing without an ENTITIES section has no place for them: switching tabs says
    // nothing; the command asked for by hand tells why nothing was written.
    EditorFixture f;
    f.setText("0|SECTION|2|HEADER|9|$ACADVER|1|AC1009|0|ENDSEC|0|EOF");
    f.ed.TabControl1Change(1);
    EXPECT_TRUE(f.ui.shown.empty());
    EXPECT_FALSE(f.ed.changed);
    EXPECT_EQ(f.ed.Viewporthinzufgen1Click(), WriteStatus::NoPlace);
    EXPECT_EQ(f.ui.shown.size(), 1u);
}

TEST(Viewporthinzufgen1Click, TheDialogShowsTheDefaultsAndItsValuesAreWritten)
{
    struct DialogUi : kerbon::test::ScriptedUi {
        ViewportValues shown;
        void viewportDialog(ViewportValues& v) override
        {
            shown = v;
            v.breite = 50, v.hoehe = 30;
        }
    } ui;
    Editor ed(ui);
    ed.setAreaSize(1000, 700);
    ASSERT_TRUE(ed.openfilewithname(kerbon::test::dataFile("template1.dat")));
    ed.view.tabindex = 1;
    ASSERT_EQ(ed.Viewporthinzufgen1Click(), WriteStatus::Ok);
    const ViewportValues want = viewportDefaults(ed.model, ed.page);
    EXPECT_EQ(ui.shown.breite, want.breite);
    EXPECT_EQ(ui.shown.inhaltY, want.inhaltY);
    const auto vps = viewports(ed.model);
    ASSERT_EQ(vps.size(), 1u);
    EXPECT_EQ(std::make_tuple(vps[0]->widx, vps[0]->widy), std::make_tuple(50.0, 30.0));
    EXPECT_NEAR(vps[0]->cx, want.mitteX, 1e-9);
}

TEST(KerbonCliEdit, ViewportCommandPutsASheetRectangleOnTheTabShown)
{
    kerbon::test::TempDir tmp;
    const std::string out = tmp.path("out.dxf");
    using kerbon::test::shq;
    // Tab 1 of the new drawing gets its automatic viewport first, then the one asked for.
    kerbon::test::CliRun r = kerbon::test::runCli(tmp, "edit new " + shq(out) + " 'tab 1; viewport 110 60 10 10'");
    ASSERT_EQ(r.status, 0) << r.err;
    EditorFixture f;
    ASSERT_TRUE(f.ed.openfilewithname(out));
    const auto vps = viewports(f.ed.model);
    ASSERT_EQ(vps.size(), 2u);
    const model::tpoly& p = *vps[1];
    EXPECT_EQ(std::make_tuple(p.cx, p.cy, p.widx, p.widy, p.viewid), std::make_tuple(60.0, 35.0, 100.0, 50.0, 4));
    EXPECT_TRUE(p.ispaperspace);

    struct Case {
        const char* command;
        const char* error;
    };
    const Case cases[] = {
        {"viewport 1 1 1 5", "line 1: viewport: the viewport has no area\n"},
        {"viewport 1 1 5", "line 1: viewport: expected 4 values, got 3 (viewport X1 Y1 X2 Y2)\n"},
        {"viewport 1 x 5 5", nullptr},  // the number error of every command
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        r = kerbon::test::runCli(tmp, "edit new " + shq(tmp.path("bad.dxf")) + " " + shq(c.command));
        EXPECT_EQ(r.status, 2);
        if (c.error) {
            EXPECT_EQ(r.err, c.error);
        }
        EXPECT_FALSE(std::filesystem::exists(tmp.path("bad.dxf")));
    }
}

TEST(AddToLayout, EveryWriterPutsItsObjectsIntoTheLayoutShown)
{
    const std::string common =
        "line 0 0 10 10; polyline 0 0 5 0 5 5 closed; rect 1 1 4 4; polygon 0 0 3 0 6; "
        "circle 0 0 5; circle3 0 0 4 0 2 2; arc 0 0 5 0 90; arc3 0 0 4 0 2 2; point 3 3; "
        "solid 0 0 1 0 0 1; arrow 0 0 5 5; text 1 1 2.5 \"Teil\"; dimension 0 0 10 0 5 5";
    struct Case {
        const char* name;
        std::string script;
        bool readable;  // an independent reader can check the saved file
    };
    const Case cases[] = {
        {"template1.dat", common + "; ellipse 0 0 5 0 0.5; spline 0 0 5 5 10 0", true},
        {"template0.dat", common, true},
        {"block", common + "; ellipse 0 0 5 0 0.5; spline 0 0 5 5 10 0", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EditorFixture f;
        if (c.readable) {
            ASSERT_TRUE(f.ed.openfilewithname(kerbon::test::dataFile(c.name)));
        } else {
            f.setText(layoutWithBlock);
        }
        f.ed.TabControl1Change(1);
        const int before = f.ed.model.anzpoly;  // the layout's own viewports included
        std::set<int32_t> old;
        for (int i = 0; i < before; ++i)
            old.insert(f.ed.model.polys[size_t(i)].han);
        std::vector<script::Command> cmds;
        std::string error;
        script::Report report;
        ASSERT_TRUE(script::parseScript(c.script, cmds, error) &&
                    script::runCommands(f.ed, cmds, report, error))
            << error;
        ASSERT_GT(f.ed.model.anzpoly, before + 10);
        const LayoutFilter shown = currentLayoutFilter(f.ed.model, 1);
        const LayoutFilter model = currentLayoutFilter(f.ed.model, 0);
        int written = 0;
        for (int i = 0; i < f.ed.model.anzpoly; ++i) {
            const model::tpoly& p = f.ed.model.polys[size_t(i)];
            if (old.count(p.han))
                continue;
            ++written;
            EXPECT_TRUE(shown.passes(p)) << "handle " << std::hex << p.han;
            EXPECT_FALSE(model.passes(p)) << "handle " << std::hex << p.han;
        }
        EXPECT_EQ(written, f.ed.model.anzpoly - before);
        if (c.readable) {
            EXPECT_EQ(savedAudit(f), "");
        }
    }
}
