// The corner count dialog.
#include "gui/PolyGonFUnit.h"

#include <QVBoxLayout>

#include "gui/DialogFields.h"

using namespace kerbon::gui;

TPolygonForm::TPolygonForm(QWidget* parent) : QDialog(parent)
{
    setObjectName("PolygonForm");
    setWindowTitle(QString::fromUtf8("Vieleck"));
    auto* top = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    EckenEd = intField(this, "EckenEd", 3, 1000, 3);
    addRow(form, this, "Anzahl der Eckpunkte:", EckenEd);
    top->addLayout(form);
    top->addLayout(buttonRow(this, false));
}

bool TPolygonForm::edit(kerbon::PolygonValues& v)
{
    EckenEd->setValue(v.ecken);
    const bool ok = exec() == QDialog::Accepted;
    v.ecken = EckenEd->value();
    return ok;
}
