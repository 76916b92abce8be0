// The dialog that adds a layer.
#include "gui/AddNewLayerFUnit.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/DialogFields.h"
#include "styles/layers.h"
#include "view/tables.h"

using namespace kerbon;

TAddNewLayerForm::TAddNewLayerForm(QWidget* parent) : QDialog(parent)
{
    setObjectName("AddNewLayerForm");
    setWindowTitle(QString::fromUtf8("Neue Ebene hinzufügen"));
    auto* column = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    column->addLayout(form);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName("Edit1");
    Edit1->setMinimumWidth(220);
    form->addRow(QString::fromUtf8("Name:"), Edit1);
    auto box = [&](QComboBox*& c, const char* name, const char* label) {
        c = new QComboBox(this);
        c->setObjectName(name);
        form->addRow(QString::fromUtf8(label), c);
    };
    box(LineCombo, "LineCombo", "Linienstil:");
    box(ColorComboBox, "ColorComboBox", "Linienfarbe:");
    box(LineWeightBox, "LineWeightBox", "Linienbreite:");
    for (const char* c : view::colornames)
        ColorComboBox->addItem(QString::fromUtf8(c));
    for (const char* w : styles::layerWeightItems)
        LineWeightBox->addItem(QString::fromUtf8(w));

    column->addLayout(gui::buttonRow(this, true));
}

void TAddNewLayerForm::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    Edit1->setFocus();
}

bool TAddNewLayerForm::edit(styles::NewLayerValues& v)
{
    Edit1->setText(QString::fromStdString(v.name));
    LineCombo->clear();
    for (const std::string& n : v.lineTypes)
        LineCombo->addItem(QString::fromStdString(n));
    LineCombo->setCurrentIndex(v.lineTypes.empty() ? -1 : v.lineType);
    ColorComboBox->setCurrentIndex(v.colour);
    LineWeightBox->setCurrentIndex(v.lineWeight);
    if (exec() != QDialog::Accepted)
        return false;
    v.name = Edit1->text().toStdString();
    v.lineType = LineCombo->currentIndex();
    v.colour = ColorComboBox->currentIndex();
    v.lineWeight = LineWeightBox->currentIndex();
    return true;
}
