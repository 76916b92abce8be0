// The scale factor dialog.
#include "gui/SkalierungFUnit.h"

#include <QVBoxLayout>

#include "gui/DialogFields.h"

using namespace kerbon::gui;

TSkalierungForm::TSkalierungForm(QWidget* parent) : QDialog(parent)
{
    setObjectName("SkalierungForm");
    setWindowTitle(QString::fromUtf8("Skalierungsfaktor eingeben"));
    auto* top = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    SkalEd = floatField(this, "SkalEd", 1e-05, 100000, 5, 100);
    addRow(form, this, "Skalierung in %:", SkalEd);
    top->addLayout(form);
    top->addLayout(buttonRow(this, false));
}

bool TSkalierungForm::edit(kerbon::ScaleValues& v)
{
    SkalEd->setValue(v.skal);
    const bool ok = exec() == QDialog::Accepted;
    v.skal = SkalEd->value();
    return ok;
}

void TSkalierungForm::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    SkalEd->setFocus();
    SkalEd->selectAll();
}
