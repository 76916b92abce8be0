// The dialog "Skalierungsfaktor eingeben": the scale factor of the scale tool in per cent.
#pragma once

#include <QDialog>

#include "edit/DialogValues.h"

class QDoubleSpinBox;

class TSkalierungForm : public QDialog {
    Q_OBJECT
public:
    explicit TSkalierungForm(QWidget* parent = nullptr);

    QDoubleSpinBox* SkalEd = nullptr;

    // Shows `v`, runs the dialog, writes the field back; true for OK.
    bool edit(kerbon::ScaleValues& v);

protected:
    void showEvent(QShowEvent* e) override;  // the factor field takes the focus
};
