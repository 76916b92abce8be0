// The scale factor of the scale tool.
#pragma once

#include <QDialog>

class TSkalierungForm : public QDialog {
    Q_OBJECT
public:
    explicit TSkalierungForm(QWidget* parent = nullptr);
};
