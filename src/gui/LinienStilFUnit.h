// The dialog that adds a line type.
#pragma once

#include <QDialog>

class TLinienstilForm : public QDialog {
    Q_OBJECT
public:
    explicit TLinienstilForm(QWidget* parent = nullptr);
};
