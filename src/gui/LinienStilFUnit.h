// The dialog "Linienstil hinzufügen": name, description and dash pattern of a new line
// type, typed or taken from a preset. Its fields keep their contents between uses (the
// editor holds them).
#pragma once

#include <QDialog>

#include "styles/StyleDialogs.h"

class QLineEdit;
class QPlainTextEdit;

class TLinienstilForm : public QDialog {
    Q_OBJECT
public:
    explicit TLinienstilForm(QWidget* parent = nullptr);

    QLineEdit* Edit1 = nullptr;       // name
    QLineEdit* Edit2 = nullptr;       // description
    QPlainTextEdit* Memo1 = nullptr;  // the pattern, one length per line

    // Shows the values and writes back what the fields hold, however the dialog was
    // closed. True for OK.
    bool edit(kerbon::styles::LineTypeValues& v);

protected:
    void showEvent(QShowEvent* e) override;  // the name field takes the focus
};
