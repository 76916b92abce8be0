// The array dialog.
#include "gui/ArrayFUnit.h"

#include <QVBoxLayout>

#include "gui/DialogFields.h"

using namespace kerbon::gui;

TArrayForm::TArrayForm(QWidget* parent) : QDialog(parent)
{
    setObjectName("ArrayForm");
    setWindowTitle(QString::fromUtf8("Array erstellen"));
    auto* top = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    SpaltenEd = intField(this, "SpaltenEd", 1, 10000, 4);
    ZeilenEd = intField(this, "ZeilenEd", 1, 10000, 4);
    SpaltenAbstandEd = floatField(this, "SpaltenAbstandEd", -unlimited, unlimited, 4, 4);
    ZeilenAbstandEd = floatField(this, "ZeilenAbstandEd", -unlimited, unlimited, 4, 4);
    RotierenEd = floatField(this, "RotierenEd", -unlimited, unlimited, 4, 0);
    addRow(form, this, "Spalten:", SpaltenEd);
    addRow(form, this, "Zeilen:", ZeilenEd);
    addRow(form, this, "Spalten Abstand:", SpaltenAbstandEd);
    addRow(form, this, "Zeilen Abstand:", ZeilenAbstandEd);
    addRow(form, this, "Rotieren:", RotierenEd);
    top->addLayout(form);
    top->addLayout(buttonRow(this, true));
}

bool TArrayForm::edit(kerbon::ArrayValues& v)
{
    SpaltenEd->setValue(v.spalten);
    ZeilenEd->setValue(v.zeilen);
    SpaltenAbstandEd->setValue(v.spaltenAbstand);
    ZeilenAbstandEd->setValue(v.zeilenAbstand);
    RotierenEd->setValue(v.rotieren);
    const bool ok = exec() == QDialog::Accepted;
    v.spalten = SpaltenEd->value();
    v.zeilen = ZeilenEd->value();
    v.spaltenAbstand = SpaltenAbstandEd->value();
    v.zeilenAbstand = ZeilenAbstandEd->value();
    v.rotieren = RotierenEd->value();
    return ok;
}
