// The print and page set-up dialog.
#pragma once

#include <QDialog>

class TDruckenForm : public QDialog {
    Q_OBJECT
public:
    explicit TDruckenForm(QWidget* parent = nullptr);
};
