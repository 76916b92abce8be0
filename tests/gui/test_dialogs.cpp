// The small input dialogs as windows: captions, labels, defaults and ranges, values in and
// out through the Qt Ui, focus, and the text heights kept from run to run.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "gui/AddTextFUnit.h"
#include "gui/ArrayFUnit.h"
#include "gui/MainUnit.h"
#include "support/MainWindow.h"
#include "gui/PolyGonFUnit.h"
#include "gui/QtUi.h"
#include "gui/RotationsFUnit.h"
#include "gui/SkalierungFUnit.h"
#include "support/QtApp.h"
#include "support/ScriptedUi.h"
#include "support/TempFiles.h"

using namespace kerbon;

namespace {

// Runs `act` on the dialog once it is shown modally (the user's typing and clicking).
void whenShown(QDialog* d, std::function<void()> act)
{
    QTimer::singleShot(0, d, [d, act] {
        ASSERT_TRUE(d->isVisible());
        act();
    });
}

void click(QDialog* d, const char* button)
{
    d->findChild<QPushButton*>(button)->click();
}

QString labelOf(QDialog* d, const char* field)
{
    auto* l = d->findChild<QLabel*>(QString("Label") + field);
    return l ? l->text() : QString();
}

struct Dialogs {
    QApplication& app = test::qtApp();  // before any widget
    QWidget parent;
    QtUi ui{&parent};
    TAddTextForm* text = new TAddTextForm(&parent);
    TArrayForm* array = new TArrayForm(&parent);
    TPolygonForm* polygon = new TPolygonForm(&parent);
    TRotationsForm* rotation = new TRotationsForm(&parent);
    TSkalierungForm* scale = new TSkalierungForm(&parent);
    Dialogs()
    {
        ui.textForm = text;
        ui.arrayForm = array;
        ui.polygonForm = polygon;
        ui.rotationForm = rotation;
        ui.scaleForm = scale;
    }
};

}  // namespace

TEST(InputDialogs, CaptionsLabelsDefaultsAndRanges)
{
    Dialogs d;
    EXPECT_EQ(d.text->windowTitle(), QString("Text hinzufügen"));
    EXPECT_EQ(d.text->findChild<QLabel*>("LabelFontSize")->text(), QString("Schriftgröße:"));
    EXPECT_EQ(labelOf(d.text, "WinkEd"), QString("Winkel:"));
    EXPECT_EQ(d.text->Memo1->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(d.text->FontSizeEd->value(), 0.2);
    EXPECT_EQ(d.text->FontSizeEd->minimum(), 1e-06);
    EXPECT_EQ(d.text->FontSizeEd->maximum(), 1000000);
    EXPECT_EQ(d.text->FontSizeDimensionEd->value(), 0.5);
    EXPECT_EQ(d.text->WinkEd->maximum(), 360);

    EXPECT_EQ(d.array->windowTitle(), QString("Array erstellen"));
    EXPECT_EQ(labelOf(d.array, "SpaltenAbstandEd"), QString("Spalten Abstand:"));
    EXPECT_EQ(d.array->SpaltenEd->value(), 4);
    EXPECT_EQ(d.array->ZeilenEd->maximum(), 10000);
    EXPECT_EQ(d.array->RotierenEd->value(), 0);

    EXPECT_EQ(d.polygon->windowTitle(), QString("Vieleck"));
    EXPECT_EQ(labelOf(d.polygon, "EckenEd"), QString("Anzahl der Eckpunkte:"));
    EXPECT_EQ(d.polygon->EckenEd->value(), 3);
    EXPECT_EQ(d.polygon->EckenEd->minimum(), 3);
    EXPECT_EQ(d.polygon->EckenEd->maximum(), 1000);
    EXPECT_EQ(d.polygon->findChild<QPushButton*>("AbbrechenBtn"), nullptr);

    EXPECT_EQ(d.rotation->windowTitle(), QString("Rotationswinkel eingeben"));
    EXPECT_EQ(labelOf(d.rotation, "RotEd"), QString("Rotation in °:"));
    EXPECT_EQ(d.rotation->Label2->text(), QString("Die Rotation erfolgt im Uhrzeigersinn."));

    EXPECT_EQ(d.scale->windowTitle(), QString("Skalierungsfaktor eingeben"));
    EXPECT_EQ(labelOf(d.scale, "SkalEd"), QString("Skalierung in %:"));
    EXPECT_EQ(d.scale->SkalEd->value(), 100);
    EXPECT_EQ(d.scale->SkalEd->minimum(), 1e-05);
    EXPECT_EQ(d.scale->SkalEd->maximum(), 100000);
}

TEST(InputDialogs, TextDialogShowsTheValuesAndGivesBackWhatWasTyped)
{
    Dialogs d;
    TextValues v;
    v.text = "12.50";
    whenShown(d.text, [&] {
        EXPECT_EQ(d.text->focusWidget(), d.text->Memo1);
        EXPECT_EQ(d.text->Memo1->toPlainText(), QString("12.50"));
        EXPECT_FALSE(d.text->FontSizeEd->isVisible());  // a dimension: its own height
        EXPECT_TRUE(d.text->FontSizeDimensionEd->isVisible());
        d.text->Memo1->setPlainText("Maß\nzweite");
        d.text->FontSizeDimensionEd->setValue(0.75);
        d.text->WinkEd->setValue(30);
        click(d.text, "AbbrechenBtn");
    });
    EXPECT_FALSE(d.ui.textDialog(v, true));
    EXPECT_EQ(v.text, "Maß\nzweite");  // kept although cancelled; the dimension writes it
    EXPECT_EQ(v.fontsizeDimension, 0.75);
    EXPECT_EQ(v.winkel, 30);
    EXPECT_EQ(v.fontsize, 0.2);

    whenShown(d.text, [&] {
        EXPECT_TRUE(d.text->FontSizeEd->isVisible());
        EXPECT_FALSE(d.text->FontSizeDimensionEd->isVisible());
        EXPECT_EQ(d.text->WinkEd->value(), 30);  // offered again
        d.text->FontSizeEd->setValue(2.5);
        click(d.text, "OKBtn");
    });
    EXPECT_TRUE(d.ui.textDialog(v, false));
    EXPECT_EQ(v.fontsize, 2.5);
}

TEST(InputDialogs, ArrayPolygonRotationAndScaleValuesGoBothWays)
{
    Dialogs d;
    ArrayValues a;
    whenShown(d.array, [&] {
        d.array->SpaltenEd->setValue(3);
        d.array->ZeilenAbstandEd->setValue(-12.5);
        d.array->RotierenEd->setValue(45);
        click(d.array, "OKBtn");
    });
    EXPECT_TRUE(d.ui.arrayDialog(a));
    EXPECT_EQ(a.spalten, 3);
    EXPECT_EQ(a.zeilen, 4);
    EXPECT_EQ(a.zeilenAbstand, -12.5);
    EXPECT_EQ(a.rotieren, 45);

    PolygonValues p;
    p.ecken = 7;
    whenShown(d.polygon, [&] {
        EXPECT_EQ(d.polygon->EckenEd->value(), 7);
        d.polygon->EckenEd->setValue(5000);  // the field holds it at its maximum
        d.polygon->reject();                 // the close box: the value counts all the same
    });
    EXPECT_FALSE(d.ui.polygonDialog(p));
    EXPECT_EQ(p.ecken, 1000);

    RotationValues r;
    whenShown(d.rotation, [&] {
        EXPECT_EQ(d.rotation->focusWidget(), d.rotation->RotEd);
        d.rotation->RotEd->setValue(-90);
        click(d.rotation, "OKBtn");
    });
    EXPECT_TRUE(d.ui.rotationDialog(r));
    EXPECT_EQ(r.rot, -90);

    ScaleValues s;
    whenShown(d.scale, [&] {
        d.scale->SkalEd->setValue(0);  // below the minimum
        click(d.scale, "OKBtn");
    });
    EXPECT_TRUE(d.ui.scaleDialog(s));
    EXPECT_EQ(s.skal, 1e-05);
}

TEST(InputDialogs, TextHeightsAreKeptFromRunToRun)
{
    test::TempDir dir;
    test::ScriptedUi ui;
    const TMainForm::Setup s = test::mainWindowSetup(dir, ui);
    {
        TMainForm w(s);
        w.show();
        w.editor->textValues.fontsize = 0.7;
        w.editor->textValues.fontsizeDimension = 1.25;
        ASSERT_TRUE(w.close());
    }
    TMainForm w(s);
    EXPECT_EQ(w.editor->textValues.fontsize, 0.7);
    EXPECT_EQ(w.editor->textValues.fontsizeDimension, 1.25);
}
