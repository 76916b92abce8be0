// The translation editor `TTranslateForm` ("Übersetzen"): the translation table as a grid,
// one row per German text and one column per language. Typing into a cell changes the table
// and saves translate.dat at once; rows can be searched and deleted.
#pragma once

#include <QDialog>
#include <string>

#include "i18n/translategrid.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QStatusBar;
class QTableWidget;
namespace kerbon {
class Ui;
}

class TTranslateForm : public QDialog {
    Q_OBJECT
public:
    // The questions (deletion, search) go to `ui`; the table is the program's own unless
    // another one is given.
    explicit TTranslateForm(QWidget* parent, kerbon::Ui& ui,
                            kerbon::TranslationTable* table = nullptr);

    QPushButton* BackBtn = nullptr;
    QLineEdit* FilterEdit = nullptr;
    QPushButton* FilterBtn = nullptr;
    QPushButton* DeleteRowBtn = nullptr;
    QCheckBox* FixedColCheck = nullptr;
    QTableWidget* StringGrid1 = nullptr;  // widget row r shows grid row r + 1
    QStatusBar* StatusBar1 = nullptr;

    // Fills the grid from the table (done before each showing).
    void FillStringGrid();
    // A cell's text changed while being edited; grid coordinates (row 0 = title row).
    void StringGrid1SetEditText(int ACol, int ARow, const QString& Value);
    void DeleteRowBtnClick();
    void FilterBtnClick();
    void FixedColCheckClick();

    // The grid row of the current cell (0 when there is none).
    int currentGridRow() const;
    // Makes a grid cell current and scrolls it to the top left of the grid.
    void showGridCell(kerbon::GridCell c);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    std::string translate(const char* german);  // a German text in the user's language

    kerbon::Ui& ui;
    kerbon::TranslationTable& table;
};
