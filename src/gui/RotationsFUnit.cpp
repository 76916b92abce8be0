// The rotation angle dialog.
#include "gui/RotationsFUnit.h"

#include <QVBoxLayout>

#include "gui/DialogFields.h"

using namespace kerbon::gui;

TRotationsForm::TRotationsForm(QWidget* parent) : QDialog(parent)
{
    setObjectName("RotationsForm");
    setWindowTitle(QString::fromUtf8("Rotationswinkel eingeben"));
    auto* top = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    RotEd = floatField(this, "RotEd", -unlimited, unlimited, 4, 0);
    addRow(form, this, "Rotation in °:", RotEd);
    top->addLayout(form);
    Label2 = new QLabel(QString::fromUtf8("Die Rotation erfolgt im Uhrzeigersinn."), this);
    Label2->setObjectName("Label2");
    top->addWidget(Label2);
    top->addLayout(buttonRow(this, false));
}

bool TRotationsForm::edit(kerbon::RotationValues& v)
{
    RotEd->setValue(v.rot);
    const bool ok = exec() == QDialog::Accepted;
    v.rot = RotEd->value();
    return ok;
}

void TRotationsForm::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    RotEd->setFocus();
    RotEd->selectAll();
}
