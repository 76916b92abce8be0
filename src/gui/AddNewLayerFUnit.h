// The dialog that adds a layer.
#pragma once

#include <QDialog>

class TAddNewLayerForm : public QDialog {
    Q_OBJECT
public:
    explicit TAddNewLayerForm(QWidget* parent = nullptr);
};
