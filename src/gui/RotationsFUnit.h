// The angle of the rotate tool.
#pragma once

#include <QDialog>

class TRotationsForm : public QDialog {
    Q_OBJECT
public:
    explicit TRotationsForm(QWidget* parent = nullptr);
};
