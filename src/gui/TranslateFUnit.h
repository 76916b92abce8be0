// The translation editor: the translation table as a grid.
#pragma once

#include <QDialog>

class TTranslateForm : public QDialog {
    Q_OBJECT
public:
    explicit TTranslateForm(QWidget* parent = nullptr);
};
