// The array dialog: columns, rows, their spacing and rotation.
#pragma once

#include <QDialog>

class TArrayForm : public QDialog {
    Q_OBJECT
public:
    explicit TArrayForm(QWidget* parent = nullptr);
};
