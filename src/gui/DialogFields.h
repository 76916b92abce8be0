// Building blocks of the small input dialogs: named number fields and the OK / cancel
// buttons, so every dialog has the same look and its values read the same way.
#pragma once

#include <QDialog>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

namespace kerbon::gui {

// Limits of a field the dialog leaves unlimited.
inline constexpr double unlimited = 1e12;

inline QDoubleSpinBox* floatField(QWidget* parent, const char* name, double lo, double hi,
                                  int decimals, double value)
{
    auto* f = new QDoubleSpinBox(parent);
    f->setObjectName(name);
    f->setDecimals(decimals);
    f->setRange(lo, hi);
    f->setValue(value);
    f->setMinimumWidth(120);
    return f;
}

inline QSpinBox* intField(QWidget* parent, const char* name, int lo, int hi, int value)
{
    auto* f = new QSpinBox(parent);
    f->setObjectName(name);
    f->setRange(lo, hi);
    f->setValue(value);
    f->setMinimumWidth(120);
    return f;
}

// A form row with its label named after the field ("Label" + field name).
inline void addRow(QFormLayout* form, QWidget* parent, const char* label, QWidget* field)
{
    auto* l = new QLabel(QString::fromUtf8(label), parent);
    l->setObjectName(QStringLiteral("Label") + field->objectName());
    l->setBuddy(field);
    form->addRow(l, field);
}

// The button row: "OK" (default, accepts) and, when `cancel` is set, "Abbrechen".
inline QHBoxLayout* buttonRow(QDialog* d, bool cancel)
{
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    auto* ok = new QPushButton(QStringLiteral("OK"), d);
    ok->setObjectName("OKBtn");
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, d, &QDialog::accept);
    row->addWidget(ok);
    if (cancel) {
        auto* c = new QPushButton(QStringLiteral("Abbrechen"), d);
        c->setObjectName("AbbrechenBtn");
        QObject::connect(c, &QPushButton::clicked, d, &QDialog::reject);
        row->addWidget(c);
    }
    return row;
}

}  // namespace kerbon::gui
