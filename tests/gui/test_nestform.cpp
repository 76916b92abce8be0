// The nesting window driven through its handlers: take-over into the fields, a search that
// runs beside the window and can be cancelled, the overflow message and refused settings.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <chrono>
#include <thread>

#include "edit/Editor.h"
#include "gui/SchachtelungFUnit.h"
#include "i18n/translateunit.h"
#include "support/ParseFixture.h"
#include "support/QtApp.h"
#include "support/ScriptedUi.h"

using namespace kerbon;
using kerbon::test::ScriptedUi;

namespace {

// Two rectangles, (0,0)-(10,5) and (20,0)-(30,20).
const char* twoRectangles =
    "0|SECTION|2|ENTITIES|"
    "0|LWPOLYLINE|8|0|90|4|70|1|10|0|20|0|10|10|20|0|10|10|20|5|10|0|20|5|"
    "0|LWPOLYLINE|8|0|90|4|70|1|10|20|20|0|10|30|20|0|10|30|20|20|10|20|20|20|"
    "0|ENDSEC|0|EOF";

struct NestWindow {
    bool app = (kerbon::test::qtApp(), true);  // before any widget
    ScriptedUi ui;
    Editor ed{ui};
    TSchachtelungForm form{nullptr, &ui};

    NestWindow()
    {
        ed.dxf.lines = kerbon::test::splitLines(twoRectangles);
        ed.processdxf();
        form.setEditor(&ed);
        form.UebernehmenBtnClick();
    }
    // Lets the window's timer see the search end.
    bool waitForSearch()
    {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (form.searching() && std::chrono::steady_clock::now() < until) {
            QCoreApplication::processEvents();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return !form.searching();
    }
};

}  // namespace

TEST(TSchachtelungForm, TakeOverSearchAndTransferAsOneUndoableEditPerPart)
{
    NestWindow w;
    EXPECT_EQ(w.form.BreitEd->value(), 33);
    EXPECT_EQ(w.form.hoched->value(), 22);
    EXPECT_EQ(w.form.AbstandEd->value(), 0.33);
    EXPECT_EQ(w.form.SeitenrandEd->value(), 0.33);
    EXPECT_TRUE(w.form.InnenkonturenBox->isChecked());
    EXPECT_EQ(w.form.settings.seitenrand, 0.33);
    ASSERT_EQ(w.form.nest.elemente.count(), 2u);

    w.form.IterationsEd->setValue(3);
    w.form.BitBtn1Click();
    ASSERT_TRUE(w.waitForSearch());
    EXPECT_EQ(w.form.windowTitle(), "Schachteln...");
    EXPECT_TRUE(w.ui.shown.empty());  // everything fits
    // The tall part stands at the margin; the other one beside it, inside the sheet.
    const nest::TNestElement& tall = w.form.nest.elemente.recordAt(1);
    EXPECT_EQ(tall.y, 0.33);
    for (uint32_t i = 0; i < 2; ++i) {
        const nest::TNestElement& e = w.form.nest.elemente.recordAt(i);
        EXPECT_GE(e.x, 0.33);
        EXPECT_LE(e.x + e.w, 33 - 0.33);
    }

    // The transfer moves the drawing's objects there, one undo step per part, and closes.
    const std::vector<std::string> before = w.ed.dxf.lines.strings();
    w.form.show();
    w.form.BitBtn2->click();
    EXPECT_FALSE(w.form.isVisible());
    EXPECT_EQ(w.form.result(), QDialog::Accepted);
    ASSERT_EQ(w.ed.undos.size(), 2u);
    EXPECT_TRUE(w.ed.changed);
    const model::tpoly& moved = w.ed.model.polys[1];
    EXPECT_NEAR(moved.ps[0].x, tall.x, 1e-9);  // its first vertex is its lower-left corner
    EXPECT_NEAR(moved.ps[0].y, 0.33, 1e-9);
    w.ed.Rckgngig1Click();
    w.ed.Rckgngig1Click();
    EXPECT_EQ(w.ed.dxf.lines, before);
}

TEST(TSchachtelungForm, SearchRunsBesideTheWindowAndCancelKeepsTheBestSoFar)
{
    NestWindow w;
    w.form.IterationsEd->setValue(100000000);
    w.form.BitBtn1Click();
    ASSERT_TRUE(w.form.searching());
    EXPECT_FALSE(w.form.BitBtn1->isEnabled());
    EXPECT_FALSE(w.form.BreitEd->isEnabled());
    EXPECT_TRUE(w.form.AbbrechenBtn->isEnabled());
    // The window keeps handling events while the search works; the caption counts.
    while (w.form.windowTitle() == "0")
        QCoreApplication::processEvents();
    bool number = false;
    w.form.windowTitle().toInt(&number);
    EXPECT_TRUE(number);
    w.form.AbbrechenBtnClick();
    ASSERT_TRUE(w.waitForSearch());
    EXPECT_EQ(w.form.windowTitle(), "Schachteln...");
    EXPECT_TRUE(w.form.BitBtn1->isEnabled());
    EXPECT_FALSE(w.form.ProgressBar1->isVisible());
    EXPECT_EQ(w.form.nest.elemente.recordAt(1).y, 0.33);  // an arrangement was kept

    // "Zurück..." while a search runs stops it and closes the window.
    w.form.BitBtn1Click();
    ASSERT_TRUE(w.form.searching());
    w.form.BitBtn3->click();
    EXPECT_FALSE(w.form.searching());
}

TEST(TSchachtelungForm, TellsWhenThePartsDoNotFitOrTheSettingsCannotWork)
{
    NestWindow w;
    w.form.hoched->setValue(10);  // the 20 high part cannot fit
    w.form.IterationsEd->setValue(2);
    w.form.BitBtn1Click();
    ASSERT_TRUE(w.waitForSearch());
    ASSERT_EQ(w.ui.shown.size(), 1u);
    EXPECT_EQ(w.ui.shown[0].text, GetMessageText(40));
    EXPECT_EQ(w.ui.shown[0].icon, MsgIcon::Error);

    w.form.BreitEd->setValue(0);
    w.form.BitBtn1Click();
    EXPECT_FALSE(w.form.searching());
    ASSERT_EQ(w.ui.shown.size(), 2u);
    EXPECT_EQ(w.ui.shown[1].text, "Die Blattbreite muss eine Zahl größer als 0 sein.");

    w.form.BreitEd->setValue(1000);  // 200 pixels across give no raster row for a height of 1
    w.form.hoched->setValue(1);
    w.form.BitBtn1Click();
    EXPECT_FALSE(w.form.searching());
    ASSERT_EQ(w.ui.shown.size(), 3u);
    EXPECT_NE(w.ui.shown[2].text.find("zu niedrig"), std::string::npos);

    // Settings the sheet allows, but 40 parts each covering the whole raster: the search
    // refuses them and the window says so instead of ending silently.
    std::string huge = "0|SECTION|2|ENTITIES";
    for (int i = 0; i < 40; ++i)
        huge += "|0|LINE|8|0|10|" + std::to_string(i) + "|20|0|11|1e9|21|1e9";
    w.ed.dxf.lines = kerbon::test::splitLines(huge + "|0|ENDSEC|0|EOF");
    w.ed.processdxf();
    w.form.UebernehmenBtnClick();
    w.form.BreitEd->setValue(1);
    w.form.hoched->setValue(67);
    w.form.AbstandEd->setValue(0);
    w.form.SeitenrandEd->setValue(0);
    w.form.PixEd->setValue(1000);
    w.form.BitBtn1Click();
    ASSERT_TRUE(w.waitForSearch());
    ASSERT_EQ(w.ui.shown.size(), 4u);
    EXPECT_NE(w.ui.shown[3].text.find("zu groß"), std::string::npos);
}
