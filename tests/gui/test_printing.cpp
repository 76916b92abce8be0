// The page set-up dialog (inch twins, refused scales, its three ways out), page values kept
// over a restart, printing from the main window into PDF, and the viewport dialog.
#include <gtest/gtest.h>

#include <QAction>
#include <QDoubleSpinBox>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "gui/DruckenFUnit.h"
#include "gui/MainUnit.h"
#include "support/MainWindow.h"
#include "gui/ViewPortFUnit.h"
#include "support/QtApp.h"
#include "support/RunCli.h"
#include "support/ScriptedUi.h"
#include "support/TempFiles.h"

using namespace kerbon;
using kerbon::test::ScriptedUi;
using kerbon::test::TempDir;

namespace {

// Runs `f` once the modal dialog that is about to open runs its event loop.
void whenOpen(std::function<void()> f)
{
    QTimer::singleShot(0, std::move(f));
}

// Types `text` over the field's text, as a user would.
void typeInto(QDoubleSpinBox* f, const QString& text)
{
    f->setFocus();
    f->selectAll();
    QTest::keyClicks(f, text);
}

// Scripted message boxes and file dialogs; the page and viewport dialogs are the window's.
struct FormsUi : ScriptedUi {
    TMainForm* form = nullptr;
    PageDialogResult pageDialog(view::PageValues& page) override { return form->DruckenForm->run(page); }
    void viewportDialog(ViewportValues& v) override { form->ViewPortForm->run(v); }
};

// A main window on a temporary program and configuration directory.
struct Window {
    FormsUi ui;
    std::unique_ptr<TMainForm> form;

    explicit Window(const TempDir& dir)
    {
        form = kerbon::test::makeMainWindow(dir, ui);
        ui.form = form.get();
        form->show();
    }
    Editor& ed() { return *form->editor; }
};

}  // namespace

TEST(TDruckenForm, MillimetreAndInchFieldsSetEachOtherWithoutEcho)
{
    kerbon::test::qtApp();
    TDruckenForm d;
    // A millimetre value whose inch form is rounded: the millimetres stay as typed.
    d.RandEd->setValue(10);
    EXPECT_EQ(d.RxSpinEdit3->value(), 0.3937);
    EXPECT_EQ(d.RandEd->value(), 10);
    d.RxSpinEdit3->setValue(1);
    EXPECT_EQ(d.RandEd->value(), 25.39995);
    EXPECT_EQ(d.RxSpinEdit3->value(), 1);
    typeInto(d.RxSpinEdit1, "2");
    d.RxSpinEdit1->interpretText();
    EXPECT_EQ(d.XOffsetEd->value(), 50.7999);  // 2 x 25.39995 at five decimals
    d.mmEd->setValue(3);
    EXPECT_EQ(d.RxSpinEdit4->value(), 0.11811);
    EXPECT_EQ(d.mmEd->value(), 3);

    // Showing the dialog computes every inch field from its millimetre field.
    d.dontch = true;
    d.YOffsetEd->setValue(25.39995 * 4);
    d.dontch = false;
    EXPECT_EQ(d.RxSpinEdit2->value(), 0);
    d.show();
    EXPECT_EQ(d.RxSpinEdit2->value(), 4);
}

TEST(TDruckenForm, ScaleThatIsNoPositiveNumberIsRefusedInTheDialog)
{
    kerbon::test::qtApp();
    TDruckenForm d;
    struct Case {
        const char* typed;
        double mm, units;  // what the dialog gives back
    };
    const Case cases[] = {{"0", 2, 4}, {"nan", 2, 4}, {"inf", 2, 4}, {"0.00001", 2, 4},
                          {"-5", 5, 5}};  // the sign is not taken
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        view::PageValues page;
        page.mm = 2, page.units = 4;
        whenOpen([&] {
            typeInto(d.mmEd, c.typed);
            typeInto(d.UnitsEd, c.typed);
            d.OKBtn->click();
        });
        EXPECT_EQ(d.run(page), PageDialogResult::Ok);
        EXPECT_EQ(page.mm, c.mm);
        EXPECT_EQ(page.units, c.units);
    }
}

TEST(TDruckenForm, OkAndPreviewWriteTheValuesBackCancelLeavesThem)
{
    kerbon::test::qtApp();
    TDruckenForm d;
    struct Case {
        QPushButton* TDruckenForm::*button;
        PageDialogResult result;
        double xoffset;
    };
    const Case cases[] = {{&TDruckenForm::OKBtn, PageDialogResult::Ok, 12.5},
                          {&TDruckenForm::VorschauBtn, PageDialogResult::Preview, 12.5},
                          {&TDruckenForm::AbbrechenBtn, PageDialogResult::Cancel, 0}};
    for (const Case& c : cases) {
        view::PageValues page;
        page.dpi = 300;  // the printer's metrics are not the dialog's
        whenOpen([&] {
            typeInto(d.XOffsetEd, "12.5");
            typeInto(d.mmEd, "2");
            (d.*c.button)->click();
        });
        EXPECT_EQ(d.run(page), c.result);
        EXPECT_EQ(page.xoffset, c.xoffset);
        EXPECT_EQ(page.mm, c.xoffset != 0 ? 2 : 1);
        EXPECT_EQ(page.dpi, 300);
    }
}

TEST(MainWindow, PageValuesComeBackAtTheNextStartAndPreviewTurnsOnThePrintPreview)
{
    TempDir dir;
    {
        Window w(dir);
        EXPECT_FALSE(w.form->Druckvorschau1->isChecked());
        whenOpen([&] {
            typeInto(w.form->DruckenForm->XOffsetEd, "12.5");
            typeInto(w.form->DruckenForm->UnitsEd, "4");
            w.form->DruckenForm->VorschauBtn->click();
        });
        w.form->Seiteeinrichten1->trigger();
        EXPECT_TRUE(w.form->Druckvorschau1->isChecked());
        EXPECT_TRUE(w.ed().display.printPreview);
    }
    Window again(dir);
    EXPECT_EQ(again.ed().page.xoffset, 12.5);
    EXPECT_EQ(again.ed().page.units, 4);
    EXPECT_EQ(again.ed().page.mm, 1);
}

TEST(MainWindow, DruckenPrintsTheTabIntoPdfAndPreviewPrintsNothing)
{
    TempDir dir;
    Window w(dir);
    for (QAction* a : {w.form->Drucken1, w.form->PrintBtn, w.form->Seiteeinrichten1,
                       w.form->Druckereinrichten1, w.form->Viewporthinzufgen1})
        EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();
    QPrinter& printer = *w.form->printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    const std::string pdf = dir.path("printed.pdf");
    printer.setOutputFileName(QString::fromStdString(pdf));

    whenOpen([&] { w.form->DruckenForm->VorschauBtn->click(); });
    w.form->Drucken1->trigger();
    EXPECT_FALSE(std::filesystem::exists(pdf));
    EXPECT_TRUE(w.form->Druckvorschau1->isChecked());

    whenOpen([&] { w.form->DruckenForm->OKBtn->click(); });
    w.form->PrintBtn->trigger();
    ASSERT_TRUE(std::filesystem::exists(pdf));
    const auto info = kerbon::test::runShell(dir, "pdfinfo " + kerbon::test::shq(pdf));
    EXPECT_NE(info.out.find("DXF Datei"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("Pages:           1"), std::string::npos) << info.out;

    // A PDF printer without a file asks for one; cancelled, nothing is printed.
    printer.setOutputFileName({});
    w.ui.files = {std::nullopt, dir.path("asked.pdf")};
    EXPECT_FALSE(w.form->printTo(printer));
    EXPECT_TRUE(w.form->printTo(printer));
    EXPECT_TRUE(std::filesystem::exists(dir.path("asked.pdf")));
    EXPECT_TRUE(printer.outputFileName().isEmpty());  // the next print asks again
}

TEST(MainWindow, ViewportDialogShowsTheDefaultsAndItsCloseBoxKeepsWhatWasTyped)
{
    TempDir dir;
    Window w(dir);
    TViewPortForm* d = w.form->ViewPortForm;
    double shownHeight = 0;
    whenOpen([&] {
        shownHeight = d->HoeheEd->value();
        typeInto(d->breiteEd, "50");
        d->close();
    });
    w.form->Viewporthinzufgen1->trigger();
    EXPECT_NEAR(shownHeight, (297 - 24), 0.5);  // the printer's A4 page less 12 mm each side
    const model::DisplayModel& m = w.ed().model;
    ASSERT_EQ(m.anzpoly, 1);
    EXPECT_TRUE(m.polys[0].isviewport);
    EXPECT_EQ(m.polys[0].widx, 50);
    EXPECT_TRUE(w.ed().changed);
}
