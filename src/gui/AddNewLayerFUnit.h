// The dialog "Neue Ebene hinzufügen": name, line type, colour and line weight of a new
// layer.
#pragma once

#include <QDialog>

#include "styles/StyleDialogs.h"

class QComboBox;
class QLineEdit;

class TAddNewLayerForm : public QDialog {
    Q_OBJECT
public:
    explicit TAddNewLayerForm(QWidget* parent = nullptr);

    QLineEdit* Edit1 = nullptr;
    QComboBox* LineCombo = nullptr;
    QComboBox* ColorComboBox = nullptr;
    QComboBox* LineWeightBox = nullptr;

    // Shows the values; on OK writes back the name and the chosen entries. True for OK.
    bool edit(kerbon::styles::NewLayerValues& v);

protected:
    void showEvent(QShowEvent* e) override;  // the name field takes the focus
};
