// The text dialog: a memo for the lines, the height fields and the angle.
#include "gui/AddTextFUnit.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "gui/DialogFields.h"

using namespace kerbon::gui;

TAddTextForm::TAddTextForm(QWidget* parent) : QDialog(parent)
{
    setObjectName("AddTextForm");
    setWindowTitle(QString::fromUtf8("Text hinzufügen"));
    auto* top = new QVBoxLayout(this);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName("Memo1");
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setMinimumSize(360, 140);
    top->addWidget(Memo1, 1);

    auto* form = new QFormLayout;
    FontSizeEd = floatField(this, "FontSizeEd", 1e-06, 1000000, 6, 0.2);
    FontSizeDimensionEd = floatField(this, "FontSizeDimensionEd", 1e-06, 1000000, 6, 0.5);
    WinkEd = floatField(this, "WinkEd", 0, 360, 4, 0);
    // Both height fields stand in one row behind one label; one of them is shown.
    auto* heights = new QWidget(this);
    auto* hrow = new QHBoxLayout(heights);
    hrow->setContentsMargins(0, 0, 0, 0);
    hrow->addWidget(FontSizeEd);
    hrow->addWidget(FontSizeDimensionEd);
    FontSizeDimensionEd->hide();
    LabelFontSize = new QLabel(QString::fromUtf8("Schriftgröße:"), this);
    LabelFontSize->setObjectName("LabelFontSize");
    form->addRow(LabelFontSize, heights);
    addRow(form, this, "Winkel:", WinkEd);
    top->addLayout(form);
    top->addLayout(buttonRow(this, true));
}

bool TAddTextForm::edit(kerbon::TextValues& v, bool dimension)
{
    Memo1->setPlainText(QString::fromStdString(v.text));
    FontSizeEd->setValue(v.fontsize);
    FontSizeDimensionEd->setValue(v.fontsizeDimension);
    WinkEd->setValue(v.winkel);
    FontSizeEd->setVisible(!dimension);
    FontSizeDimensionEd->setVisible(dimension);
    LabelFontSize->setBuddy(dimension ? FontSizeDimensionEd : FontSizeEd);
    const bool ok = exec() == QDialog::Accepted;
    FontSizeEd->setVisible(true);
    FontSizeDimensionEd->setVisible(false);
    v.text = Memo1->toPlainText().toStdString();
    v.fontsize = FontSizeEd->value();
    v.fontsizeDimension = FontSizeDimensionEd->value();
    v.winkel = WinkEd->value();
    return ok;
}

bool TAddTextForm::editText(std::string& text)
{
    Memo1->setPlainText(QString::fromStdString(text));
    FontSizeEd->setEnabled(false);
    WinkEd->setEnabled(false);
    const bool ok = exec() == QDialog::Accepted;
    FontSizeEd->setEnabled(true);
    WinkEd->setEnabled(true);
    if (ok)
        text = Memo1->toPlainText().toStdString();
    return ok;
}

void TAddTextForm::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    Memo1->setFocus();
}
