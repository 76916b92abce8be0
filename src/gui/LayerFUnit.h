// The layer dialog "Ebenen": the layers of the drawing in a list; the buttons change the
// selected row's colour, visibility, lock, line type and line weight. The rows go back to
// the editor however the dialog is closed; "Neue Ebene..." closes it to add a layer.
#pragma once

#include <QDialog>
#include <functional>

#include "styles/StyleDialogs.h"

class QComboBox;
class QPushButton;
class QTreeWidget;

class TLayerForm : public QDialog {
    Q_OBJECT
public:
    explicit TLayerForm(QWidget* parent = nullptr);

    QTreeWidget* ListView1 = nullptr;
    QComboBox* ColorComboBox = nullptr;
    QComboBox* LineCombo = nullptr;
    QComboBox* LineWeightBox = nullptr;
    QPushButton* SperrenBtn = nullptr;
    QPushButton* EntsperrenBtn = nullptr;
    QPushButton* SichtbarBtn = nullptr;
    QPushButton* UnsichtbarBtn = nullptr;
    QPushButton* FarbeBtn = nullptr;
    QPushButton* LinienstilBtn = nullptr;
    QPushButton* LinienbreiteBtn = nullptr;
    QPushButton* NeueEbeneBtn = nullptr;
    QPushButton* OKBtn = nullptr;

    // Shows the rows, lets the buttons edit them and returns how the dialog was closed.
    kerbon::styles::LayerDialogEnd edit(kerbon::styles::LayerDialogValues& v);

private:
    // Applies `change` to the selected row and shows the row again.
    void changeRow(const std::function<void(kerbon::styles::LayerRow&)>& change);
    void showRow(int i);
    void fitColumns();

    kerbon::styles::LayerDialogValues* values = nullptr;  // while the dialog runs
    bool newLayer = false;
};
