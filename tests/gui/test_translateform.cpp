// The translation editor window as a user works with it: keystrokes into a cell reach
// translate.dat one by one, Delete and Escape ask before removing a row, the search walks
// the hits as long as the answer is Yes, and the main window's menu opens it.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "gui/MainUnit.h"
#include "support/MainWindow.h"
#include "gui/TranslateFUnit.h"
#include "support/QtApp.h"
#include "support/ScriptedUi.h"
#include "support/TempFiles.h"

using namespace kerbon;
using kerbon::test::ScriptedUi;
using kerbon::test::TempDir;

namespace {

// An editor over its own table of texts "Text 1" ... "Text n" in a temporary directory.
struct GridWindow {
    TempDir dir;
    ScriptedUi ui;
    TranslationTable table;
    std::unique_ptr<TTranslateForm> form;

    explicit GridWindow(int n)
    {
        kerbon::test::qtApp();
        table.InitTranslation(dir.path(""), "");
        for (int i = 1; i <= n; ++i)
            table.TranslateText("Text " + std::to_string(i));
        form = std::make_unique<TTranslateForm>(nullptr, ui, &table);
        form->FillStringGrid();
        form->show();
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        form->StringGrid1->setFocus();
    }
    std::string savedCell(int row, int col) const
    {
        TranslationTable again;
        again.InitTranslation(dir.path(""), "");
        return again.cellText(row, col);
    }
    QString cell(int widgetRow, int col) const
    {
        QTableWidgetItem* it = form->StringGrid1->item(widgetRow, col);
        return it ? it->text() : QString();
    }
};

// A key as the user presses it: to whichever widget has the focus (the grid, or the cell's
// editor once typing has opened one).
template <class Key>
void press(Key k)
{
    QTest::keyClick(QApplication::focusWidget(), k);
}

}  // namespace

TEST(TTranslateForm, ShowsTheTableAndSavesEveryKeystroke)
{
    GridWindow e(3);
    QTableWidget* g = e.form->StringGrid1;
    EXPECT_EQ(e.form->windowTitle(), QString::fromUtf8("Übersetzen"));
    ASSERT_EQ(g->columnCount(), 20);
    EXPECT_EQ(g->rowCount(), 3);
    EXPECT_EQ(g->horizontalHeaderItem(1)->text(), QString("English"));
    EXPECT_EQ(g->horizontalHeaderItem(4)->text(), QString("language4"));
    EXPECT_EQ(g->columnWidth(7), 250);
    EXPECT_EQ(e.cell(1, 0), QString("Text 2"));

    g->setCurrentCell(1, 1);
    QString typed;
    for (char c : std::string("Open")) {
        press(c);
        typed += QChar(c);
        EXPECT_EQ(e.savedCell(1, 1), typed.toStdString());
    }
    press(Qt::Key_Return);
    QApplication::processEvents();  // the editor hands its text to the grid afterwards
    EXPECT_EQ(e.cell(1, 1), QString("Open"));
    e.table.language = 1;
    EXPECT_EQ(e.table.TranslateText("Text 2"), "Open");
    EXPECT_TRUE(e.ui.shown.empty());
}

TEST(TTranslateForm, DeleteAndEscapeAskBeforeRemovingTheCurrentRow)
{
    GridWindow e(10);
    QTableWidget* g = e.form->StringGrid1;
    g->setCurrentCell(4, 2);  // grid row 5

    e.ui.answers = {MsgResult::No};
    QTest::keyClick(g, Qt::Key_Delete);
    ASSERT_EQ(e.ui.shown.size(), 1u);
    EXPECT_EQ(e.ui.shown[0].text, "Text 5");
    EXPECT_EQ(e.ui.shown[0].buttons, MsgButtons::YesNoCancel);
    EXPECT_EQ(e.ui.shown[0].icon, MsgIcon::Question);
    EXPECT_EQ(g->rowCount(), 10);

    e.ui.answers = {MsgResult::Yes};
    QTest::keyClick(e.form.get(), Qt::Key_Escape);  // the cancel button deletes
    EXPECT_EQ(e.ui.shown.size(), 2u);
    EXPECT_TRUE(e.form->isVisible());
    EXPECT_EQ(g->rowCount(), 9);
    EXPECT_EQ(g->currentRow(), 4);
    EXPECT_EQ(e.cell(4, 0), QString("Text 6"));
    EXPECT_EQ(e.savedCell(4, 0), "Text 6");

    // While a cell is edited, Delete works in its text.
    g->setCurrentCell(0, 1);
    for (char c : std::string("ab"))
        press(c);
    press(Qt::Key_Home);
    press(Qt::Key_Delete);
    EXPECT_EQ(e.ui.shown.size(), 2u);
    EXPECT_EQ(e.savedCell(0, 1), "b");
}

TEST(TTranslateForm, SearchGoesOnWhileTheAnswerIsYes)
{
    GridWindow e(12);  // "Text 1" ... "Text 12": "1" is in rows 1, 10, 11 and 12
    QTableWidget* g = e.form->StringGrid1;
    e.form->FilterEdit->setText("Text 1");
    e.ui.answers = {MsgResult::Yes, MsgResult::Yes, MsgResult::No};
    e.form->FilterBtnClick();
    ASSERT_EQ(e.ui.shown.size(), 3u);
    EXPECT_EQ(e.ui.shown[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(e.ui.shown[0].title, "Suchen");
    EXPECT_EQ(g->currentRow(), 10);  // stopped on the third hit, "Text 11"
    EXPECT_EQ(g->currentColumn(), 0);

    e.ui.shown.clear();
    e.ui.answers.clear();
    e.form->FilterEdit->setText("TEXT 12");  // small and capital a ... z alike
    e.form->FilterBtnClick();
    EXPECT_EQ(e.ui.shown.size(), 1u);
    EXPECT_EQ(g->currentRow(), 11);
}

TEST(TTranslateForm, FixedFirstColumnShowsTheGermanTextsInTheRowHeaders)
{
    GridWindow e(2);
    QTableWidget* g = e.form->StringGrid1;
    EXPECT_FALSE(g->verticalHeader()->isVisible());
    e.form->FixedColCheck->setChecked(true);
    EXPECT_TRUE(g->isColumnHidden(0));
    EXPECT_TRUE(g->verticalHeader()->isVisible());
    EXPECT_EQ(g->verticalHeaderItem(1)->text(), QString("Text 2"));
    e.form->FixedColCheck->setChecked(false);
    EXPECT_FALSE(g->isColumnHidden(0));
}

TEST(TTranslateForm, MainMenuOpensTheEditorAndAsksForARestartAfterwards)
{
    TempDir dir;
    ScriptedUi ui;
    TMainForm main(kerbon::test::mainWindowSetup(dir, ui));
    main.show();
    ASSERT_TRUE(main.bersetzen1->isEnabled());
    int rowsShown = -1;
    QTimer::singleShot(0, [&] {
        rowsShown = main.TranslateForm->StringGrid1->rowCount();
        main.TranslateForm->BackBtn->click();
    });
    main.bersetzen1->trigger();
    EXPECT_EQ(rowsShown, int(translations().rowCount()));
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].text, "Bitte schließen Sie das Program und starten Sie es neu.");
    EXPECT_EQ(ui.shown[0].title, "Übersetzen");
    EXPECT_EQ(ui.shown[0].icon, MsgIcon::Information);
}
