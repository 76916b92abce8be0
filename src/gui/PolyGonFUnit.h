// The dialog "Vieleck": the corner count of the regular polygon tool.
#pragma once

#include <QDialog>

#include "edit/DialogValues.h"

class QSpinBox;

class TPolygonForm : public QDialog {
    Q_OBJECT
public:
    explicit TPolygonForm(QWidget* parent = nullptr);

    QSpinBox* EckenEd = nullptr;

    // Shows `v`, runs the dialog, writes the field back; true for OK.
    bool edit(kerbon::PolygonValues& v);
};
