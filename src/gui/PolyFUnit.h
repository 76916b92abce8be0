// The line-joining window "Linien zusammenfügen".
#pragma once

#include <QDialog>

class TPolyForm : public QDialog {
    Q_OBJECT
public:
    explicit TPolyForm(QWidget* parent = nullptr);
};
