// The editor's road for changes: writing new objects with fresh handles, undo, deletion
// of the selection, the owner and place of new objects by layout tab.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "edit/EditorFixture.h"
#include "edit/LayoutFilter.h"

using namespace kerbon;
using kerbon::test::EditorFixture;
using kerbon::test::splitLines;

namespace {

using Lines = std::vector<std::string>;

// Every handle (codes 5 and 105) outside the HEADER section.
std::vector<int32_t> handlesInText(const LineStore& dxf)
{
    std::vector<int32_t> out;
    bool header = false;
    for (int i = 0; i + 1 < dxf.count(); i += 2) {
        const std::string_view code = trimDxf(dxf[i]), value = trimDxf(dxf[i + 1]);
        if (code == "2" && value == "HEADER")
            header = true;
        if (code == "0" && value == "ENDSEC")
            header = false;
        if (!header && (code == "5" || code == "105"))
            if (auto h = dxfHexToInt(value))
                out.push_back(*h);
    }
    return out;
}

}  // namespace

TEST(AddLine, WritesTheEntityFrameAHandleAndRaisesTheSeedAndUndoGivesTheTextBack)
{
    EditorFixture f("template1.dat");
    const Lines original = f.ed.dxf.lines.strings();
    ASSERT_EQ(f.headerValue("$HANDSEED"), "30");
    EXPECT_FALSE(f.ed.undoBtnEnabled);

    EXPECT_EQ(f.ed.AddLine(0, 0, 0, 10, 5, 0), WriteStatus::Ok);
    EXPECT_EQ(f.entityText(0x30),
              (Lines{"  0", "LINE", "  5", "30", "330", "1F", "100", "AcDbEntity", "  8", "0",
                     "100", "AcDbLine", "  10", "0", "  20", "0", "  30", "0", "  11", "10",
                     "  21", "5", "  31", "0"}));
    EXPECT_EQ(f.headerValue("$HANDSEED"), "31");
    EXPECT_TRUE(f.ed.changed);
    EXPECT_TRUE(f.ed.undoBtnEnabled);
    ASSERT_EQ(f.ed.undos.size(), 1u);

    f.ed.arcmode = 1;
    EXPECT_EQ(f.ed.AddLine(0, 0, 0, 10, 5, 0), WriteStatus::Ok);
    f.ed.arcmode = 2;
    EXPECT_EQ(f.ed.AddLine(2, 2, 0, 3, 2, 0), WriteStatus::Ok);
    const Lines xline = f.entityText(0x31), ray = f.entityText(0x32);
    EXPECT_EQ(Lines(xline.begin() + 10, xline.end()),
              (Lines{"100", "AcDbXline", "  10", "0", "  20", "0", "  30", "0", "  11", "10",
                     "  21", "5", "  31", "0"}));
    EXPECT_EQ(Lines(ray.begin() + 10, ray.end()),
              (Lines{"100", "AcDbRay", "  10", "2", "  20", "2", "  30", "0", "  11", "1",
                     "  21", "0", "  31", "0"}));

    for (int i = 0; i < 3; ++i)
        f.ed.Rckgngig1Click();
    EXPECT_EQ(f.ed.dxf.lines, original);  // the seed included
    EXPECT_FALSE(f.ed.undoBtnEnabled);
    EXPECT_TRUE(f.ed.changed);
    f.ed.Rckgngig1Click();  // nothing left: nothing happens
    EXPECT_EQ(f.ed.dxf.lines, original);
}

TEST(AddLine, R12DrawingGetsNoSubclassesAndRefusesInfiniteLines)
{
    EditorFixture f("template0.dat");
    ASSERT_EQ(f.ed.AddLine(1, 2, 0, 3, 4, 0), WriteStatus::Ok);
    EXPECT_EQ(f.entityText(0x20), (Lines{"  0", "LINE", "  5", "20", "  8", "0", "  10", "1",
                                         "  20", "2", "  30", "0", "  11", "3", "  21", "4",
                                         "  31", "0"}));
    EXPECT_EQ(f.headerValue("$HANDSEED"), "21");

    const Lines before = f.ed.dxf.lines.strings();
    f.ed.arcmode = 1;
    EXPECT_EQ(f.ed.AddLine(0, 0, 0, 1, 1, 0), WriteStatus::NoXline);
    f.ed.arcmode = 2;
    EXPECT_EQ(f.ed.AddLine(0, 0, 0, 1, 1, 0), WriteStatus::NoRay);
    EXPECT_EQ(f.ed.dxf.lines, before);
    ASSERT_EQ(f.ui.shown.size(), 2u);
    EXPECT_EQ(f.ui.shown[0].text, f.ed.messageText(13));
    EXPECT_EQ(f.ui.shown[1].text, f.ed.messageText(33));
    EXPECT_EQ(f.ed.undos.size(), 1u);
}

TEST(AddLine, RefusesWhatCannotBeWrittenWithAMessageAndNoStep)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* what;
        const char* text;  // empty: template1.dat
        int arcmode;
        double x1, y1, x2, y2;
        WriteStatus want;
        bool told;
    };
    const Case cases[] = {
        {"NaN", "", 0, nan, 0, 1, 1, WriteStatus::NotFinite, true},
        {"infinity", "", 0, 0, 0, inf, 1, WriteStatus::NotFinite, true},
        {"construction line without direction", "", 1, 2, 2, 2, 2, WriteStatus::ZeroLength,
         false},
        {"no ENTITIES section",
         "0|SECTION|2|HEADER|9|$ACADVER|1|AC1015|0|ENDSEC|0|SECTION|2|BLOCKS|0|ENDSEC|0|EOF", 0,
         0, 0, 1, 1, WriteStatus::NoPlace, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EditorFixture f("template1.dat");
        if (*c.text)
            f.setText(c.text);
        const Lines before = f.ed.dxf.lines.strings();
        f.ed.arcmode = c.arcmode;
        EXPECT_EQ(f.ed.AddLine(c.x1, c.y1, 0, c.x2, c.y2, 0), c.want);
        EXPECT_EQ(f.ed.dxf.lines, before);
        EXPECT_TRUE(f.ed.undos.empty());
        EXPECT_FALSE(f.ed.changed);
        EXPECT_EQ(f.ui.shown.size(), c.told ? 1u : 0u);
    }
}

TEST(AddLine, NewHandleNeverRepeatsOneOfTheObjectsSectionInAFileWithoutSeed)
{
    EditorFixture f;
    // No $HANDSEED; the highest handles belong to a dictionary variable and a dimension
    // style entry, which no entity uses.
    f.setText("0|SECTION|2|HEADER|9|$ACADVER|1|AC1015|0|ENDSEC|"
              "0|SECTION|2|TABLES|0|TABLE|2|DIMSTYLE|5|A|0|DIMSTYLE|105|4E|2|Standard|"
              "0|ENDTAB|0|ENDSEC|"
              "0|SECTION|2|ENTITIES|0|LINE|5|10|8|0|10|0|20|0|11|1|21|1|"
              "0|INSERT|5|11|66|1|2|B|10|0|20|0|0|ATTRIB|5|12|2|T|1|v|0|SEQEND|5|13|0|ENDSEC|"
              "0|SECTION|2|OBJECTS|0|DICTIONARYVAR|5|5A|280|0|1|x|0|ENDSEC|0|EOF");
    const std::vector<int32_t> used = handlesInText(f.ed.dxf);
    ASSERT_EQ(f.ed.AddLine(0, 0, 0, 1, 0, 0), WriteStatus::Ok);
    const int32_t added = f.ed.model.polys[size_t(f.ed.model.anzpoly - 1)].han;
    EXPECT_EQ(added, *std::max_element(used.begin(), used.end()) + 1);
    EXPECT_EQ(added, 0x5B);
}

TEST(Loeschen, DeletesTheSelectedObjectsInOneStepThatUndoRestores)
{
    EditorFixture f("examples/parts.dxf");
    const Lines original = f.ed.dxf.lines.strings();
    const int objects = f.ed.model.anzpoly;
    EXPECT_FALSE(f.ed.Loeschen());  // nothing selected: no step
    EXPECT_TRUE(f.ed.undos.empty());
    EXPECT_FALSE(f.ed.changed);

    for (const int i : {0, 5, objects - 1})
        f.ed.model.polys[size_t(i)].selected = true;
    EXPECT_TRUE(f.ed.Loeschen());
    EXPECT_EQ(f.ed.model.anzpoly, objects - 3);
    ASSERT_EQ(f.ed.undos.size(), 1u);
    EXPECT_EQ(f.ed.undos[0].actions.size(), 3u);
    EXPECT_TRUE(f.ed.changed);
    f.ed.Rckgngig1Click();
    EXPECT_EQ(f.ed.dxf.lines, original);
}

TEST(Loeschen, AnInsertTakesItsAttributesAndTheirEndAlong)
{
    EditorFixture f;
    const std::string before = "0|SECTION|2|ENTITIES|0|LINE|5|10|8|0|10|0|20|0|11|1|21|1|";
    const std::string insert =
        "0|INSERT|5|11|8|0|66|1|2|B|10|0|20|0|"
        "0|ATTRIB|5|12|8|0|2|T|1|a|0|ATTRIB|5|13|8|0|2|U|1|b|0|SEQEND|5|14|8|0|";
    const std::string after = "0|CIRCLE|5|15|8|0|10|0|20|0|40|1|0|ENDSEC|0|EOF";
    f.setText(before + insert + after);
    ASSERT_EQ(f.ed.model.anzpoly, 3);
    f.ed.model.polys[1].selected = true;
    ASSERT_TRUE(f.ed.Loeschen());
    EXPECT_EQ(f.ed.dxf.lines, splitLines(before + after));
}

TEST(Loeschen, OnlyObjectsOfTheLayoutsBlockAreDeleted)
{
    EditorFixture f;
    // A layout whose entities live in its own block "*Paper_Space0", and one model line.
    f.setText("0|SECTION|2|BLOCKS|0|BLOCK|5|20|330|1C|2|*Paper_Space0|3|*Paper_Space0|"
              "0|LINE|5|21|330|1C|8|0|10|0|20|0|11|1|21|1|0|ENDBLK|5|22|0|ENDSEC|"
              "0|SECTION|2|ENTITIES|0|LINE|5|23|8|0|10|0|20|0|11|1|21|1|0|ENDSEC|"
              "0|SECTION|2|OBJECTS|0|LAYOUT|5|30|1|Model|71|0|330|1B|"
              "0|LAYOUT|5|31|1|Layout2|71|2|330|1C|0|ENDSEC|0|EOF");
    ASSERT_EQ(f.ed.model.anzpoly, 2);
    for (int i = 0; i < 2; ++i)
        f.ed.model.polys[size_t(i)].selected = true;
    f.ed.view.tabindex = 1;
    ASSERT_TRUE(f.ed.Loeschen());
    ASSERT_EQ(f.ed.model.anzpoly, 1);
    EXPECT_EQ(f.ed.model.polys[0].han, 0x23);
}

TEST(AddToLayout, NewObjectsGoToTheLayoutShown)
{
    // Tab 1 of the template: the first paper-space layout, kept in ENTITIES with 67.
    {
        EditorFixture f("template1.dat");
        f.ed.view.tabindex = 1;
        ASSERT_EQ(f.ed.AddLine(0, 0, 0, 1, 1, 0), WriteStatus::Ok);
        const Lines t = f.entityText(0x30);
        EXPECT_EQ(Lines(t.begin(), t.begin() + 12),
                  (Lines{"  0", "LINE", "  5", "30", "330", "1B", "100", "AcDbEntity", " 67",
                         "1", "  8", "0"}));
        const LayoutFilter filter = currentLayoutFilter(f.ed.model, 1);
        EXPECT_TRUE(filter.passes(f.ed.model.polys[0]));
    }
    // Without layout records tab 1 is paper space, without an owner.
    {
        EditorFixture f("template0.dat");
        f.ed.view.tabindex = 1;
        ASSERT_EQ(f.ed.AddLine(0, 0, 0, 1, 1, 0), WriteStatus::Ok);
        const Lines t = f.entityText(0x20);
        EXPECT_EQ(Lines(t.begin(), t.begin() + 8),
                  (Lines{"  0", "LINE", "  5", "20", " 67", "1", "  8", "0"}));
    }
    // A layout with a block of its own: the object goes before its ENDBLK.
    {
        EditorFixture f;
        f.setText("0|SECTION|2|BLOCKS|0|BLOCK|5|20|330|1C|2|*Paper_Space0|3|*Paper_Space0|"
                  "0|ENDBLK|5|22|"
                  "0|ENDSEC|0|SECTION|2|ENTITIES|0|ENDSEC|"
                  "0|SECTION|2|OBJECTS|0|LAYOUT|5|30|1|Model|71|0|330|1B|"
                  "0|LAYOUT|5|31|1|Layout2|71|2|330|1C|0|ENDSEC|0|EOF");
        f.ed.view.tabindex = 1;
        ASSERT_EQ(f.ed.AddLine(0, 0, 0, 1, 1, 0), WriteStatus::Ok);
        ASSERT_EQ(f.ed.model.anzpoly, 1);
        EXPECT_TRUE(f.ed.model.polys[0].isblock);
        EXPECT_EQ(f.ed.model.polys[0].theblockname, "*Paper_Space0");
        EXPECT_EQ(f.ed.model.polys[0].layhan, 0x1C);
    }
}

TEST(FreeUndos, OpeningADocumentForgetsTheStepsButKeepsTheButton)
{
    EditorFixture f("template1.dat");
    ASSERT_EQ(f.ed.AddLine(0, 0, 0, 1, 1, 0), WriteStatus::Ok);
    ASSERT_TRUE(f.ed.openfilewithname(kerbon::test::dataFile("template0.dat")));
    EXPECT_TRUE(f.ed.undos.empty());
    EXPECT_TRUE(f.ed.undoBtnEnabled);
    const Lines opened = f.ed.dxf.lines.strings();
    f.ed.Rckgngig1Click();
    EXPECT_EQ(f.ed.dxf.lines, opened);
}

// Every re-parse rebuilt the layout records with no remembered view, so after any edit
// switching tabs jumped to the extents. The views stay with their layouts' handles; a
// document opened afterwards starts without them.
TEST(TabControl1Change, LayoutTabsKeepTheirViewsOverEditsButNotIntoTheNextDocument)
{
    EditorFixture f("template1.dat");
    ASSERT_GE(f.ed.model.layouts.size(), 2u);
    f.ed.TabControl1Change(1);
    f.ed.ZoomInBtnClick();
    f.ed.scrollbarChange(-4321, 1234);
    const view::ViewState left = f.ed.view;

    f.ed.TabControl1Change(0);
    ASSERT_EQ(f.ed.AddLine(0, 0, 0, 1, 1, 0), WriteStatus::Ok);  // re-parse after the edit
    f.ed.Rckgngig1Click();                                      // and after its undo
    f.ed.processdxf();                                          // and a whole parse
    f.ed.TabControl1Change(1);
    EXPECT_EQ(f.ed.view.zoomedvalue, left.zoomedvalue);
    EXPECT_EQ(f.ed.view.scrollx, left.scrollx);
    EXPECT_EQ(f.ed.view.scrolly, left.scrolly);

    ASSERT_TRUE(f.ed.openfilewithname(kerbon::test::dataFile("template1.dat")));
    f.ed.TabControl1Change(1);
    EXPECT_NE(f.ed.view.scrollx, left.scrollx);  // zoomed to the extents instead
}
