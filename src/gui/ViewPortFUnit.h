// The viewport dialog "Viewport konfigurieren": size and centre of a new viewport on the
// sheet and the part of the model it shows.
#pragma once

#include <QDialog>

#include "edit/Viewport.h"

class QDoubleSpinBox;
class QPushButton;

class TViewPortForm : public QDialog {
    Q_OBJECT
public:
    explicit TViewPortForm(QWidget* parent = nullptr);

    QDoubleSpinBox* breiteEd = nullptr;
    QDoubleSpinBox* HoeheEd = nullptr;
    QDoubleSpinBox* MitteXEd = nullptr;
    QDoubleSpinBox* MitteYEd = nullptr;
    QDoubleSpinBox* InhaltX = nullptr;
    QDoubleSpinBox* InhaltY = nullptr;
    QDoubleSpinBox* HeiContEd = nullptr;
    QPushButton* OKBtn = nullptr;

    // Shows the values and writes back what was typed. The dialog has no cancel: closing it
    // in any way keeps the values.
    void run(kerbon::ViewportValues& v);
};
