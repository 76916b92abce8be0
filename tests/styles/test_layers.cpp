// The layer dialog and the new layer, the line type dialog, names a drawing cannot hold,
// the layer for new objects, and what hidden and locked layers mean right after a change.
#include <gtest/gtest.h>

#include "styles/StylesFixture.h"
#include "styles/layers.h"
#include "view/RecordingSurface.h"
#include "view/paint.h"

using namespace kerbon;
using kerbon::test::StylesFixture;
using kerbon::test::TempDir;
using Lines = std::vector<std::string>;

namespace {

// The lines of the table record named `name` in table `type` ("LAYER", "LTYPE").
Lines record(const Editor& ed, const std::string& type, const std::string& name)
{
    const LineList& d = ed.dxf.lines;
    for (size_t i = 0; i + 1 < d.size(); i += 2) {
        if (trimDxf(d[i]) != "0" || d[i + 1] != type)
            continue;
        size_t end = i + 2;
        bool named = false;
        for (; end + 1 < d.size() && trimDxf(d[end]) != "0"; end += 2)
            named |= trimDxf(d[end]) == "2" && d[end + 1] == name;
        if (named)
            return {d.begin() + long(i), d.begin() + long(end)};
    }
    return {};
}

// The value of `code` in a record.
std::string value(const Lines& rec, const std::string& code)
{
    for (size_t k = 0; k + 1 < rec.size(); k += 2)
        if (trimDxf(rec[k]) == code)
            return rec[k + 1];
    return "<none>";
}

const styles::LayerRow& row(const styles::LayerDialogValues& v, const std::string& name)
{
    for (const styles::LayerRow& r : v.rows)
        if (r.name == name)
            return r;
    throw std::runtime_error("no row " + name);
}

}  // namespace

TEST(NewLayer, RecordForEachVersion)
{
    for (const bool r12 : {true, false}) {
        StylesFixture f(r12);
        const std::string lt = r12 ? "CONTINUOUS" : "Continuous";
        const int endtab = f.ed.model.layerinsertlinenr;
        const std::string h = handleText(f.ed.model.maxhandle + 1);
        ASSERT_EQ(f.run("layer-add Kontur 30 " + lt + " 25"), "");
        Lines want = {"  0", "LAYER", "  5", h};
        if (!r12)
            want.insert(want.end(), {"100", "AcDbSymbolTableRecord", "100", "AcDbLayerTableRecord"});
        want.insert(want.end(), {"  2", "Kontur", " 70", "0", " 62", "30", " 6", lt});
        if (!r12)
            want.insert(want.end(), {" 370", "25", " 390", "F"});
        EXPECT_EQ(Lines(f.ed.dxf.lines.begin() + endtab,
                        f.ed.dxf.lines.begin() + endtab + long(want.size())),
                  want);
        EXPECT_EQ(f.ed.undos.size(), 1u);

        // New objects go on the layer chosen for them; drawn and read back by ezdxf with
        // the new line type of the next command.
        ASSERT_EQ(f.run("linetype-add Mitte \"6.4 -1.27 1.27 -1.27\" \"Mittellinie\"; "
                        "layer Kontur; line 0 0 10 0; select all; set-linetype Mitte"),
                  "");
        TempDir tmp;
        const std::string path = tmp.path("l.dxf");
        ASSERT_TRUE(f.ed.SaveFileUnder(path));
        const test::Read read = test::ezdxfRead(tmp, path);
        EXPECT_EQ(read.at("audit").at("problems"), "");
        ASSERT_EQ(read.size(), 2u);
        const auto& line = read.begin()->first == "audit" ? read.rbegin()->second
                                                          : read.begin()->second;
        EXPECT_EQ(line.at("layer"), "Kontur");
        EXPECT_EQ(line.at("linetype"), "Mitte");

        // Once the layer is gone again, new objects go to the table's first layer.
        f.ed.Rckgngig1Click();
        f.ed.Rckgngig1Click();
        f.ed.Rckgngig1Click();
        f.ed.Rckgngig1Click();
        EXPECT_EQ(f.ed.layerForNewObjects(), "0");
    }
}

TEST(NewLayer, NamesThatCannotBeUsedAreRefusedWithAMessage)
{
    struct Case {
        std::string name;
        bool layer;                // layer-add, else linetype-add
        std::string messageStart;  // the beginning of the message shown
    };
    StylesFixture probe(false);
    const std::string noName = probe.ed.messageText(28), layerExists = probe.ed.messageText(27);
    const std::string noTypeName = probe.ed.messageText(31),
                      typeExists = probe.ed.messageText(29);
    const std::vector<Case> cases = {
        {"", true, noName},
        {"   ", true, noName},
        {" kontur ", true, layerExists},      // differs in letter case and blanks only
        {"KÖNIG", true, layerExists},         // accented capitals count alike
        {"a<b", true, "Sie haben keinen gültigen Namen"},
        {"a/b", true, "Sie haben keinen gültigen Namen"},
        {"x=y", true, "Sie haben keinen gültigen Namen"},
        {"a\"b", true, "Sie haben keinen gültigen Namen"},
        {"tab\x01", true, "Sie haben keinen gültigen Namen"},
        {"", false, noTypeName},
        {"continuous", false, typeExists},
        {"Punkt?", false, noTypeName + " Ein Name darf"},
        {"a|b", false, noTypeName + " Ein Name darf"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StylesFixture f(false);
        ASSERT_EQ(f.run("layer-add Kontur; layer-add könig"), "");
        const Lines before = f.ed.dxf.lines.strings();
        const size_t steps = f.ed.undos.size();
        const auto status =
            c.layer ? f.ed.AddNewLayer({c.name, "Continuous", 1, -3})
                    : f.ed.AddLineStil(c.name, "", {1.0, -0.5});
        EXPECT_NE(status, styles::StyleStatus::Ok);
        ASSERT_FALSE(f.ui.shown.empty());
        EXPECT_EQ(f.ui.shown.back().text.rfind(c.messageStart, 0), 0u) << f.ui.shown.back().text;
        EXPECT_EQ(f.ed.dxf.lines, before);
        EXPECT_EQ(f.ed.undos.size(), steps);
    }
    // The script says why as well.
    StylesFixture f(false);
    EXPECT_EQ(f.run("layer-add \"a:b\""),
              "line 1: layer-add: a name must not hold any of < > / \\ \" : ; ? * | = or a "
              "control character");
}

TEST(LayerDialog, RowsEditsAndTheNewLayerAfterwards)
{
    StylesFixture f(false);
    ASSERT_EQ(f.run("layer-add Kontur 30 Continuous 25; layer-set Kontur invisible"), "");
    EXPECT_EQ(value(record(f.ed, "LAYER", "Kontur"), "62"), "-30");

    // A hidden layer of colour -30 shows "30" and "Unsichtbar"; closing unchanged adds no
    // step but marks the drawing changed.
    f.ed.SetUnChanged();
    const size_t steps = f.ed.undos.size();
    styles::LayerDialogValues shown;
    f.ui.onLayerDialog = [&](styles::LayerDialogValues& v) {
        shown = v;
        return styles::LayerDialogEnd::Closed;
    };
    f.ed.LayerBtnClick();
    EXPECT_EQ(styles::layerRowTexts(row(shown, "Kontur"), shown.words),
              (std::array<std::string, 6>{"Kontur", "30", "Unsichtbar", "Entsperrt", "Continuous",
                                          "0.25"}));
    EXPECT_EQ(styles::layerRowTexts(row(shown, "0"), shown.words)[1], "Schwarz");
    EXPECT_EQ(shown.lineTypes, (Lines{"Continuous"}));  // ByLayer and ByBlock left out
    EXPECT_EQ(f.ed.undos.size(), steps);
    EXPECT_TRUE(f.ed.changed);

    // Visible, locked, another weight: one step; "Neue Ebene..." goes on, a refused name
    // leaves the edits written.
    const Lines before = f.ed.dxf.lines.strings();
    f.ui.onLayerDialog = [&](styles::LayerDialogValues& v) {
        for (styles::LayerRow& r : v.rows)
            if (r.name == "Kontur") {
                r.visible = true;
                r.locked = true;
                r.lineweight = 50;
            }
        return styles::LayerDialogEnd::NewLayer;
    };
    f.ui.onNewLayerDialog = [&](styles::NewLayerValues& v) {
        v.name = " KONTUR";
        return true;
    };
    f.ed.LayerBtnClick();
    const Lines kontur = record(f.ed, "LAYER", "Kontur");
    EXPECT_EQ(value(kontur, "62"), "30");
    EXPECT_EQ(value(kontur, "70"), "4");
    EXPECT_EQ(value(kontur, "370"), "50");
    EXPECT_EQ(f.ui.shown.back().text, f.ed.messageText(27));
    EXPECT_EQ(f.ed.undos.size(), steps + 1);

    // The new-layer dialog's entries: colour index 2 is 3, weight index 7 is 0.25 mm.
    f.ui.onLayerDialog = [](styles::LayerDialogValues&) { return styles::LayerDialogEnd::NewLayer; };
    f.ui.onNewLayerDialog = [](styles::NewLayerValues& v) {
        v.name = "Bohrungen";
        v.colour = 2;
        v.lineWeight = 7;
        return true;
    };
    f.ed.LayerBtnClick();
    const Lines added = record(f.ed, "LAYER", "Bohrungen");
    EXPECT_EQ(value(added, "62"), "3");
    EXPECT_EQ(value(added, "6"), "Continuous");
    EXPECT_EQ(value(added, "370"), "25");

    // Unlocking writes 0 again; undo takes the steps back one by one.
    ASSERT_EQ(f.run("layer-set Kontur unlocked colour 5 lineweight -3"), "");
    EXPECT_EQ(value(record(f.ed, "LAYER", "Kontur"), "70"), "0");
    EXPECT_EQ(value(record(f.ed, "LAYER", "Kontur"), "62"), "5");
    EXPECT_EQ(value(record(f.ed, "LAYER", "Kontur"), "370"), "-3");
    f.ed.Rckgngig1Click();
    f.ed.Rckgngig1Click();
    f.ed.Rckgngig1Click();
    EXPECT_EQ(f.ed.dxf.lines, before);
}

TEST(LayerDialog, RecordWithoutACodeKeepsIt)
{
    // An R12 layer has no line weight: the change is ignored, as the dialog ignores it.
    StylesFixture f(true);
    const Lines before = f.ed.dxf.lines.strings();
    ASSERT_EQ(f.run("layer-set 0 lineweight 50"), "");
    EXPECT_EQ(f.ed.dxf.lines, before);
    EXPECT_TRUE(f.ed.undos.empty());
    EXPECT_NE(f.run("layer-set Nirgends locked"), "");
    EXPECT_NE(f.run("layer-set 0 colour 300"), "");
    EXPECT_NE(f.run("layer-set 0 lineweight 17"), "");
}

TEST(LineTypeDialog, PatternsPresetsAndTheNameKeptForTheNextUse)
{
    for (const bool r12 : {true, false}) {
        StylesFixture f(r12);
        const int endtab = f.ed.model.ltypeinsetlinenr;
        const std::string h = handleText(f.ed.model.maxhandle + 1);
        // The preset "Center" under a new name, typed with a comma and a word among them.
        f.ui.onLineTypeDialog = [](styles::LineTypeValues& v) {
            EXPECT_EQ(v.pattern, "6.4\n-1.27\n1.27\n-1.27");  // the dialog starts with it
            v.name = "  Mitte ";
            v.description = " Mittellinie ";
            v.pattern = "6,4\n-1.27\nStrich\n1.27\n\n-1,27";
            return true;
        };
        f.ed.Linienstile1Click();
        Lines want = {"  0", "LTYPE", "  5", h};
        if (!r12)
            want.insert(want.end(),
                        {"100", "AcDbSymbolTableRecord", "100", "AcDbLinetypeTableRecord"});
        want.insert(want.end(), {"  2", "Mitte", " 70", "0", "  3", "Mittellinie", " 72", "65",
                                 " 73", "4", " 40", "10.21", "  49", "6.4", "  74", "0", "  49",
                                 "-1.27", "  74", "0", "  49", "1.27", "  74", "0", "  49",
                                 "-1.27", "  74", "0"});
        EXPECT_EQ(Lines(f.ed.dxf.lines.begin() + endtab,
                        f.ed.dxf.lines.begin() + endtab + long(want.size())),
                  want);
        EXPECT_EQ(f.ed.model.linetype[size_t(f.ed.model.anzlt - 1)].parts,
                  (std::vector<float>{6.4f, -1.27f, 1.27f, -1.27f}));

        // The dialog shows the previous name again, which now exists ...
        const Lines before = f.ed.dxf.lines.strings();
        f.ui.onLineTypeDialog = [](styles::LineTypeValues& v) {
            EXPECT_EQ(v.name, "  Mitte ");
            v.name = "MITTE";
            return true;
        };
        f.ed.Linienstile1Click();
        EXPECT_EQ(f.ui.shown.back().text, f.ed.messageText(29));
        // ... a pattern without a number is refused before that ...
        f.ui.onLineTypeDialog = [](styles::LineTypeValues& v) {
            v.pattern = "lang\nkurz";
            return true;
        };
        f.ed.Linienstile1Click();
        EXPECT_EQ(f.ui.shown.back().text, f.ed.messageText(30));
        // ... and a cancelled dialog writes nothing.
        f.ui.onLineTypeDialog = [](styles::LineTypeValues& v) {
            v.name = "Neu";
            v.pattern = "1";
            return false;
        };
        f.ed.Linienstile1Click();
        EXPECT_EQ(f.ed.dxf.lines, before);

        // One readable line makes a one-element line type.
        ASSERT_EQ(f.run("linetype-add Punkt \"x 0,0 y\""), "");
        const Lines punkt = record(f.ed, "LTYPE", "Punkt");
        EXPECT_EQ(value(punkt, "73"), "1");
        EXPECT_EQ(value(punkt, "49"), "0");
        EXPECT_EQ(value(punkt, "40"), "0");

        TempDir tmp;
        const std::string path = tmp.path("t.dxf");
        ASSERT_TRUE(f.ed.SaveFileUnder(path));
        EXPECT_EQ(test::ezdxfAudit(tmp, path), "");
    }
}

TEST(LayerState, HiddenLayersAreNotDrawnAndLockedOnesNotSelectedRightAfterTheChange)
{
    StylesFixture f(false);
    ASSERT_EQ(f.run("layer-add Kontur 1; layer Kontur; line 0 0 10 0; line 0 5 10 5; "
                    "layer 0; line 0 9 10 9"),
              "");
    view::RenderCache cache;  // kept between paints, as the window keeps it
    auto strokes = [&] {
        view::RecordingSurface s;
        view::PaintBox1Paint(s, f.ed.model, f.ed.view, f.ed.page, f.ed.display, 96, &cache);
        int red = 0;
        for (const auto* c : s.of(view::Call::Op::Stroke))
            red += c->pen.color == view::Rgb{255, 0, 0};
        return red;
    };
    EXPECT_EQ(strokes(), 2);
    ASSERT_EQ(f.run("layer-set Kontur invisible"), "");
    EXPECT_EQ(strokes(), 0);
    ASSERT_EQ(f.run("layer-set Kontur visible"), "");
    EXPECT_EQ(strokes(), 2);

    // Locked: no selection takes the layer's objects, before any paint.
    auto selected = [&] {
        int n = 0;
        for (int i = 0; i < f.ed.model.anzpoly; ++i)
            n += f.ed.model.polys[size_t(i)].selected;
        return n;
    };
    ASSERT_EQ(f.run("layer-set Kontur locked; select all"), "");
    EXPECT_EQ(selected(), 1);
    ASSERT_EQ(f.run("select none; select window -1 -1 11 11"), "");
    EXPECT_EQ(selected(), 1);
    ASSERT_EQ(f.run("select none; select pick 5 0"), "");
    EXPECT_EQ(selected(), 0);
}
