// The nesting window.
#pragma once

#include <QDialog>

class TSchachtelungForm : public QDialog {
    Q_OBJECT
public:
    explicit TSchachtelungForm(QWidget* parent = nullptr);
};
