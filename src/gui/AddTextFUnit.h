// The text dialog "Text hinzufügen": new texts, dimension texts and the editing of a text
// object. Its values live in the editor (TextValues); the dialog shows and returns them.
#pragma once

#include <QDialog>

#include "edit/DialogValues.h"

class QDoubleSpinBox;
class QPlainTextEdit;
class QLabel;

class TAddTextForm : public QDialog {
    Q_OBJECT
public:
    explicit TAddTextForm(QWidget* parent = nullptr);

    QPlainTextEdit* Memo1 = nullptr;
    QLabel* LabelFontSize = nullptr;
    QDoubleSpinBox* FontSizeEd = nullptr;           // height of new texts
    QDoubleSpinBox* FontSizeDimensionEd = nullptr;  // height of dimension texts, same place
    QDoubleSpinBox* WinkEd = nullptr;               // angle in degrees

    // Shows `v` (for a dimension with its text height field instead of the other), runs
    // the dialog and writes the fields back to `v` however it was closed. True for OK.
    bool edit(kerbon::TextValues& v, bool dimension);
    // The text of a text object: only the memo can be changed (height and angle are
    // disabled). On OK the memo's text is written back. True for OK.
    bool editText(std::string& text);

protected:
    void showEvent(QShowEvent* e) override;  // the memo takes the focus
};
