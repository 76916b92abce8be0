// The dialog "Rotationswinkel eingeben": the angle of the rotate tool.
#pragma once

#include <QDialog>

#include "edit/DialogValues.h"

class QDoubleSpinBox;
class QLabel;

class TRotationsForm : public QDialog {
    Q_OBJECT
public:
    explicit TRotationsForm(QWidget* parent = nullptr);

    QDoubleSpinBox* RotEd = nullptr;
    QLabel* Label2 = nullptr;  // "Die Rotation erfolgt im Uhrzeigersinn."

    // Shows `v`, runs the dialog, writes the field back; true for OK.
    bool edit(kerbon::RotationValues& v);

protected:
    void showEvent(QShowEvent* e) override;  // the angle field takes the focus
};
