// The text dialog: new texts, dimension texts and the editing of a text object.
#pragma once

#include <QDialog>

class TAddTextForm : public QDialog {
    Q_OBJECT
public:
    explicit TAddTextForm(QWidget* parent = nullptr);
};
