// The dialog that adds a line type.
#include "gui/LinienStilFUnit.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/DialogFields.h"
#include "styles/linetypes.h"

using namespace kerbon;

TLinienstilForm::TLinienstilForm(QWidget* parent) : QDialog(parent)
{
    setObjectName("LinienstilForm");
    setWindowTitle(QString::fromUtf8("Linienstil hinzufügen"));
    auto* column = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    column->addLayout(form);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName("Edit1");
    Edit1->setMinimumWidth(260);
    form->addRow(QString::fromUtf8("Name:"), Edit1);
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName("Edit2");
    form->addRow(QString::fromUtf8("Beschreibung:"), Edit2);
    auto* explanation = new QLabel(
        QString::fromUtf8("Muster (je eine Zeile für einen Strich oder eine Lücke, negative "
                          "Zahlen sind Lücken, positive Zahlen Striche. Vom Betrag her große "
                          "Zahlen sind lange Striche oder Lücken, kleine Zahlen entstsprechend "
                          "kleine Lücken)."),
        this);
    explanation->setWordWrap(true);
    column->addWidget(explanation);
    auto* middle = new QHBoxLayout;
    column->addLayout(middle);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName("Memo1");
    Memo1->setMinimumHeight(140);
    middle->addWidget(Memo1, 1);
    auto* presets = new QVBoxLayout;
    middle->addLayout(presets);
    for (const styles::LineTypePreset& p : styles::lineTypePresets) {
        auto* b = new QPushButton(QString::fromUtf8(p.caption), this);
        b->setAutoDefault(false);
        presets->addWidget(b);
        QStringList lines;
        for (const std::string& l : p.lines)
            lines << QString::fromStdString(l);
        connect(b, &QPushButton::clicked, this,
                [this, lines] { Memo1->setPlainText(lines.join(QLatin1Char('\n'))); });
    }
    presets->addStretch(1);

    column->addLayout(gui::buttonRow(this, true));
}

void TLinienstilForm::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    Edit1->setFocus();
}

bool TLinienstilForm::edit(styles::LineTypeValues& v)
{
    Edit1->setText(QString::fromStdString(v.name));
    Edit2->setText(QString::fromStdString(v.description));
    Memo1->setPlainText(QString::fromStdString(v.pattern));
    const bool ok = exec() == QDialog::Accepted;
    v.name = Edit1->text().toStdString();
    v.description = Edit2->text().toStdString();
    v.pattern = Memo1->toPlainText().toStdString();
    return ok;
}
