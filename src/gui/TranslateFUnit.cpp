// The translation editor window. The table work (cell changes, deletion, search) is done by
// the grid functions of the translation table; the window shows it and asks the questions.
#include "gui/TranslateFUnit.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include "edit/Ui.h"

using namespace kerbon;

namespace {

QString u(const char* s)
{
    return QString::fromUtf8(s);
}

// Cell editors that report every change of their text, keystroke by keystroke.
class EveryKeystrokeDelegate : public QStyledItemDelegate {
public:
    EveryKeystrokeDelegate(TTranslateForm* form) : QStyledItemDelegate(form), form(form) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override
    {
        QWidget* w = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            const int col = index.column(), row = index.row() + 1;
            QObject::connect(edit, &QLineEdit::textEdited, form,
                             [f = form, col, row](const QString& s) {
                                 f->StringGrid1SetEditText(col, row, s);
                             });
        }
        return w;
    }

private:
    TTranslateForm* form;
};

}  // namespace

TTranslateForm::TTranslateForm(QWidget* parent, Ui& ui, TranslationTable* t)
    : QDialog(parent), ui(ui), table(t ? *t : translations())
{
    setObjectName("TranslateForm");
    setWindowTitle(u("Übersetzen"));
    resize(705, 453);

    BackBtn = new QPushButton(u("Zurück..."), this);
    BackBtn->setObjectName("BackBtn");
    BackBtn->setAutoDefault(false);
    FilterEdit = new QLineEdit(this);
    FilterEdit->setObjectName("FilterEdit");
    FilterBtn = new QPushButton(u("Suchen"), this);
    FilterBtn->setObjectName("FilterBtn");
    FilterBtn->setAutoDefault(false);
    DeleteRowBtn = new QPushButton(u("Zeile löchen"), this);
    DeleteRowBtn->setObjectName("DeleteRowBtn");
    DeleteRowBtn->setAutoDefault(false);
    FixedColCheck = new QCheckBox(u("Erste Spalte fixieren"), this);
    FixedColCheck->setObjectName("FixedColCheck");

    StringGrid1 = new QTableWidget(0, transColumns, this);
    StringGrid1->setObjectName("StringGrid1");
    StringGrid1->horizontalHeader()->setDefaultSectionSize(250);
    StringGrid1->verticalHeader()->setVisible(false);  // no fixed column at first
    StringGrid1->setWordWrap(false);  // one line per text, as long as the table is
    StringGrid1->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    StringGrid1->setSelectionMode(QAbstractItemView::ContiguousSelection);
    StringGrid1->setEditTriggers(QAbstractItemView::DoubleClicked |
                                 QAbstractItemView::EditKeyPressed |
                                 QAbstractItemView::AnyKeyPressed);
    StringGrid1->setItemDelegate(new EveryKeystrokeDelegate(this));
    StringGrid1->installEventFilter(this);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->setSizeGripEnabled(false);

    auto* top = new QHBoxLayout;
    top->addWidget(BackBtn);
    top->addWidget(FilterEdit, 1);
    top->addWidget(FilterBtn);
    top->addWidget(DeleteRowBtn);
    top->addWidget(FixedColCheck);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 0);
    layout->addLayout(top);
    layout->addWidget(StringGrid1, 1);
    layout->addWidget(StatusBar1);

    connect(BackBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(FilterBtn, &QPushButton::clicked, this, &TTranslateForm::FilterBtnClick);
    connect(FilterEdit, &QLineEdit::returnPressed, this, &TTranslateForm::FilterBtnClick);
    connect(DeleteRowBtn, &QPushButton::clicked, this, &TTranslateForm::DeleteRowBtnClick);
    connect(FixedColCheck, &QCheckBox::toggled, this, &TTranslateForm::FixedColCheckClick);

    if (QScreen* s = QGuiApplication::primaryScreen())  // centred on the screen
        move(s->availableGeometry().center() - rect().center());
}

std::string TTranslateForm::translate(const char* german)
{
    return table.TranslateText(std::string(german));
}

void TTranslateForm::FillStringGrid()
{
    const QSignalBlocker block(StringGrid1);
    const int rows = gridRowCount(table) - 1;
    StringGrid1->clearContents();
    StringGrid1->setRowCount(rows);
    QStringList names;
    for (int c = 0; c < transColumns; ++c)
        names << QString::fromStdString(gridText(table, {0, c}));
    StringGrid1->setHorizontalHeaderLabels(names);
    QStringList german;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < transColumns; ++c)
            StringGrid1->setItem(r, c, new QTableWidgetItem(QString::fromStdString(
                                           gridText(table, {r + 1, c}))));
        german << StringGrid1->item(r, 0)->text();
    }
    StringGrid1->setVerticalHeaderLabels(german);  // shown while the first column is fixed
}

void TTranslateForm::StringGrid1SetEditText(int ACol, int ARow, const QString& Value)
{
    setGridText(table, {ARow, ACol}, Value.toStdString());
    if (ACol == 0 && ARow >= 1 && ARow <= StringGrid1->rowCount()) {
        const QSignalBlocker block(StringGrid1);
        StringGrid1->setVerticalHeaderItem(ARow - 1, new QTableWidgetItem(Value));
    }
}

int TTranslateForm::currentGridRow() const
{
    return StringGrid1->currentRow() + 1;  // no current cell: row -1, grid row 0
}

void TTranslateForm::DeleteRowBtnClick()
{
    const int r = currentGridRow();
    const int col = std::max(StringGrid1->currentColumn(), 0);
    deleteGridRow(table, r, [this](const std::string& german) {
        // Titled with the button's caption, which is already in the user's language: a
        // lookup here could add a row to the table that is being cut down.
        return ui.messageBox(german, DeleteRowBtn->text().toStdString(), MsgIcon::Question,
                             MsgButtons::YesNoCancel) == MsgResult::Yes;
    });
    FillStringGrid();
    if (r >= 1 && r <= StringGrid1->rowCount())
        StringGrid1->setCurrentCell(r - 1, col);
}

void TTranslateForm::showGridCell(GridCell c)
{
    if (c.row == 0) {
        StringGrid1->selectColumn(c.col);  // a column name: its column
    } else if (QTableWidgetItem* it = StringGrid1->item(c.row - 1, c.col)) {
        StringGrid1->setCurrentItem(it);
        StringGrid1->scrollToItem(it, QAbstractItemView::PositionAtTop);
    }
    // Its column becomes the left one, as far as the grid can scroll.
    QScrollBar* h = StringGrid1->horizontalScrollBar();
    h->setValue(std::min(h->value() + StringGrid1->columnViewportPosition(c.col), h->maximum()));
}

void TTranslateForm::FilterBtnClick()
{
    const std::string search = FilterEdit->text().toStdString();
    for (auto hit = findGridCell(table, search, {0, 0}); hit;
         hit = findGridCell(table, search, nextGridCell(*hit))) {
        showGridCell(*hit);
        if (ui.messageBox(translate("Weitersuchen?"), FilterBtn->text().toStdString(),
                          MsgIcon::Question, MsgButtons::YesNo) != MsgResult::Yes)
            return;
    }
}

void TTranslateForm::FixedColCheckClick()
{
    // A fixed first column: the German texts stand in the row headers, which stay in place
    // while the other columns scroll, and cannot be edited there.
    const bool fixed = FixedColCheck->isChecked();
    StringGrid1->setColumnHidden(0, fixed);
    StringGrid1->verticalHeader()->setVisible(fixed);
}

void TTranslateForm::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Escape) {  // the deletion button is the window's cancel button
        DeleteRowBtnClick();
        return;
    }
    QDialog::keyPressEvent(e);
}

bool TTranslateForm::eventFilter(QObject* watched, QEvent* e)
{
    // While a cell is being edited its editor has the keys, and Delete works inside the text.
    if (watched == StringGrid1 && e->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(e)->key() == Qt::Key_Delete) {
        DeleteRowBtnClick();
        return true;
    }
    return QDialog::eventFilter(watched, e);
}
