// The array dialog "Array erstellen": columns, rows, their spacing and a rotation.
#pragma once

#include <QDialog>

#include "edit/DialogValues.h"

class QDoubleSpinBox;
class QSpinBox;

class TArrayForm : public QDialog {
    Q_OBJECT
public:
    explicit TArrayForm(QWidget* parent = nullptr);

    QSpinBox* SpaltenEd = nullptr;
    QSpinBox* ZeilenEd = nullptr;
    QDoubleSpinBox* SpaltenAbstandEd = nullptr;
    QDoubleSpinBox* ZeilenAbstandEd = nullptr;
    QDoubleSpinBox* RotierenEd = nullptr;

    // Shows `v`, runs the dialog, writes the fields back; true for OK.
    bool edit(kerbon::ArrayValues& v);
};
