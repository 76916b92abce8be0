// The layer table dialog.
#pragma once

#include <QDialog>

class TLayerForm : public QDialog {
    Q_OBJECT
public:
    explicit TLayerForm(QWidget* parent = nullptr);
};
