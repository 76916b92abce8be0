// The viewport dialog.
#pragma once

#include <QDialog>

class TViewPortForm : public QDialog {
    Q_OBJECT
public:
    explicit TViewPortForm(QWidget* parent = nullptr);
};
