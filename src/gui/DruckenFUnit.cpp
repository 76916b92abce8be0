// The page set-up and print dialog.
#include "gui/DruckenFUnit.h"

#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/DialogFields.h"
#include "render/printDrawing.h"

using kerbon::gui::floatField;
using kerbon::view::mmPerInch;

namespace {

constexpr double scaleMin = 0.0001, scaleMax = 1e10;  // either scale field
constexpr double offsetLimit = 1e6;                    // millimetres, either direction

QLabel* label(QWidget* parent, const char* text)
{
    return new QLabel(QString::fromUtf8(text), parent);
}

}  // namespace

TDruckenForm::TDruckenForm(QWidget* parent) : QDialog(parent)
{
    setObjectName("DruckenForm");
    setWindowTitle(QString::fromUtf8("Drucken/Seite einrichten"));
    auto* column = new QVBoxLayout(this);

    // The millimetre fields hold the values; their inch twins show them in inches. Offsets
    // and margin keep five decimals, so that an inch typed in comes over exactly.
    auto* scale = new QGroupBox(QString::fromUtf8("Skalierung"), this);
    auto* sg = new QGridLayout(scale);
    mmEd = floatField(scale, "mmEd", scaleMin, scaleMax, 4, 0);
    UnitsEd = floatField(scale, "UnitsEd", scaleMin, scaleMax, 4, 0);
    RxSpinEdit4 = floatField(scale, "RxSpinEdit4", 0, scaleMax / mmPerInch, 5, 0);
    sg->addWidget(mmEd, 0, 0);
    sg->addWidget(label(scale, "mm ="), 0, 1);
    sg->addWidget(UnitsEd, 0, 2);
    sg->addWidget(label(scale, "Einheiten"), 0, 3);
    sg->addWidget(RxSpinEdit4, 1, 0);
    sg->addWidget(label(scale, "Zoll"), 1, 1);
    column->addWidget(scale);

    auto* offset = new QGroupBox(QString::fromUtf8("Offset"), this);
    auto* og = new QGridLayout(offset);
    XOffsetEd = floatField(offset, "XOffsetEd", -offsetLimit, offsetLimit, 5, 0);
    YOffsetEd = floatField(offset, "YOffsetEd", -offsetLimit, offsetLimit, 5, 0);
    RxSpinEdit1 = floatField(offset, "RxSpinEdit1", -offsetLimit / mmPerInch, offsetLimit / mmPerInch, 5, 0);
    RxSpinEdit2 = floatField(offset, "RxSpinEdit2", -offsetLimit / mmPerInch, offsetLimit / mmPerInch, 5, 0);
    og->addWidget(label(offset, "X:"), 0, 0);
    og->addWidget(XOffsetEd, 0, 1);
    og->addWidget(label(offset, "mm"), 0, 2);
    og->addWidget(RxSpinEdit1, 0, 3);
    og->addWidget(label(offset, "Zoll"), 0, 4);
    og->addWidget(label(offset, "Y:"), 1, 0);
    og->addWidget(YOffsetEd, 1, 1);
    og->addWidget(label(offset, "mm"), 1, 2);
    og->addWidget(RxSpinEdit2, 1, 3);
    og->addWidget(label(offset, "Zoll"), 1, 4);
    column->addWidget(offset);

    auto* margin = new QHBoxLayout;
    RandEd = floatField(this, "RandEd", 0, offsetLimit, 5, 0);
    RxSpinEdit3 = floatField(this, "RxSpinEdit3", 0, offsetLimit / mmPerInch, 5, 0);
    margin->addWidget(label(this, "Seitenrand:"));
    margin->addWidget(RandEd);
    margin->addWidget(label(this, "mm"));
    margin->addWidget(RxSpinEdit3);
    margin->addWidget(label(this, "Zoll"));
    margin->addStretch(1);
    column->addLayout(margin);

    auto* buttons = new QHBoxLayout;
    auto button = [&](QPushButton*& b, const char* name, const char* text) {
        b = new QPushButton(QString::fromUtf8(text), this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        buttons->addWidget(b);
    };
    button(DruckerBtn, "DruckerBtn", "Drucker einrichten");
    buttons->addStretch(1);
    button(OKBtn, "OKBtn", "OK");
    button(VorschauBtn, "VorschauBtn", "Vorschau");
    button(AbbrechenBtn, "AbbrechenBtn", "Abbrechen");
    OKBtn->setDefault(true);
    column->addLayout(buttons);

    connect(DruckerBtn, &QPushButton::clicked, this, [this] {
        if (onPrinterSetup)
            onPrinterSetup();
    });
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(VorschauBtn, &QPushButton::clicked, this, [this] { done(PreviewResult); });
    connect(AbbrechenBtn, &QPushButton::clicked, this, &QDialog::reject);

    link(mmEd, RxSpinEdit4);
    link(XOffsetEd, RxSpinEdit1);
    link(YOffsetEd, RxSpinEdit2);
    link(RandEd, RxSpinEdit3);
    mmEd->setValue(1);
    UnitsEd->setValue(1);
}

// Editing either field sets the other; the flag keeps that from coming back.
void TDruckenForm::link(QDoubleSpinBox* mm, QDoubleSpinBox* inch)
{
    connect(mm, &QDoubleSpinBox::valueChanged, this, [this, inch](double v) {
        if (dontch)
            return;
        dontch = true;
        inch->setValue(v / mmPerInch);
        dontch = false;
    });
    connect(inch, &QDoubleSpinBox::valueChanged, this, [this, mm](double v) {
        if (dontch)
            return;
        dontch = true;
        mm->setValue(v * mmPerInch);
        dontch = false;
    });
}

void TDruckenForm::recomputeInches()
{
    dontch = true;
    RxSpinEdit4->setValue(mmEd->value() / mmPerInch);
    RxSpinEdit1->setValue(XOffsetEd->value() / mmPerInch);
    RxSpinEdit2->setValue(YOffsetEd->value() / mmPerInch);
    RxSpinEdit3->setValue(RandEd->value() / mmPerInch);
    dontch = false;
}

void TDruckenForm::showEvent(QShowEvent* e)
{
    recomputeInches();
    QDialog::showEvent(e);
}

kerbon::PageDialogResult TDruckenForm::run(kerbon::view::PageValues& page)
{
    mmEd->setValue(page.mm);
    UnitsEd->setValue(page.units);
    XOffsetEd->setValue(page.xoffset);
    YOffsetEd->setValue(page.yoffset);
    RandEd->setValue(page.rand);
    const int r = exec();
    if (r != QDialog::Accepted && r != PreviewResult)
        return kerbon::PageDialogResult::Cancel;
    for (QDoubleSpinBox* f : findChildren<QDoubleSpinBox*>())
        f->interpretText();  // a value still being typed counts
    // The fields' ranges keep the scale above 0; a scale that is still not usable is
    // never taken over.
    if (kerbon::view::PageValues::validScale(mmEd->value(), UnitsEd->value()))
        page.mm = mmEd->value(), page.units = UnitsEd->value();
    page.xoffset = XOffsetEd->value();
    page.yoffset = YOffsetEd->value();
    page.rand = RandEd->value();
    if (!settingsFile.isEmpty())
        kerbon::render::savePageValues(settingsFile, page);
    return r == PreviewResult ? kerbon::PageDialogResult::Preview : kerbon::PageDialogResult::Ok;
}
