// The English interface that ships: every text the program can show has its English in
// translations/texts.txt, data/translate.dat is made from that file, and a start in English
// leaves no German text in any window.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeWidget>
#include <filesystem>
#include <set>

#include "collect.h"
#include "gui/MainUnit.h"
#include "support/QtApp.h"
#include "support/ScriptedUi.h"
#include "support/TempFiles.h"
#include "texttable.h"

using namespace kerbon;
using namespace kerbon::texts;
using kerbon::test::readBytes;

namespace {

std::string sourceRoot()
{
    const char* d = std::getenv("KERBON_TEST_DATA");
    return std::string(d ? d : "data/") + "../";
}

std::string whatToDo()
{
    return std::string("\nWhat to do: run\n    ") + KERBON_TRANSLATE_TOOL +
           " update\nIt adds every text without English to translations/texts.txt (with an empty "
           "\"en:\" line) and remakes data/translate.dat. Write the English into each empty "
           "\"en:\" line, run the same command again and commit both files. "
           "(docs/architecture.md, \"The translation table\")\n";
}

TextTable shippedTexts()
{
    TextTable t;
    std::string error;
    EXPECT_TRUE(parseTextTable(readBytes(sourceRoot() + "translations/texts.txt"), t, error))
        << "translations/texts.txt: " << error;
    return t;
}

// Every text a person can see in a window tree, with where it is.
class VisibleTexts {
public:
    std::vector<std::pair<QString, QString>> texts;  // text, where

    void gather(QWidget* top)
    {
        QList<QWidget*> all = top->findChildren<QWidget*>();
        all.prepend(top);
        for (QWidget* w : all)
            widget(w);
        for (QAction* a : top->findChildren<QAction*>()) {
            if (a->isSeparator())
                continue;
            const QString where = "action " + a->objectName() + " " + a->text();
            add(a->text(), where);
            if (a->toolTip() != QAction(a->text()).toolTip())  // a hint of its own
                add(a->toolTip(), where);
            add(a->statusTip(), where);
        }
    }

private:
    void add(const QString& s, const QString& where)
    {
        if (!s.isEmpty())
            texts.push_back({s, where});
    }
    void widget(QWidget* w)
    {
        const QString where = QString(w->metaObject()->className()) + " " + w->objectName();
        if (w->isWindow() && !qobject_cast<QMenu*>(w))
            add(w->windowTitle(), where);
        if (auto* t = qobject_cast<QToolButton*>(w); t && t->defaultAction())
            return;  // shows its action's texts, gathered with the actions
        add(w->toolTip(), where);
        add(w->statusTip(), where);
        add(w->whatsThis(), where);
        if (auto* l = qobject_cast<QLabel*>(w))
            add(l->text(), where);
        if (auto* b = qobject_cast<QAbstractButton*>(w))
            add(b->text(), where);
        if (auto* g = qobject_cast<QGroupBox*>(w))
            add(g->title(), where);
        if (auto* c = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < c->count(); ++i)
                add(c->itemText(i), where);
        if (auto* e = qobject_cast<QLineEdit*>(w)) {
            add(e->text(), where);
            add(e->placeholderText(), where);
        }
        if (auto* s = qobject_cast<QAbstractSpinBox*>(w))
            add(s->specialValueText(), where);
        if (auto* t = qobject_cast<QTabWidget*>(w))
            for (int i = 0; i < t->count(); ++i)
                add(t->tabText(i), where);
        if (auto* t = qobject_cast<QTableWidget*>(w))
            for (int c = 0; c < t->columnCount(); ++c)
                if (QTableWidgetItem* h = t->horizontalHeaderItem(c))
                    add(h->text(), where);
        if (auto* t = qobject_cast<QTreeWidget*>(w))
            for (int c = 0; c < t->columnCount(); ++c)
                add(t->headerItem()->text(c), where);
        if (auto* p = qobject_cast<QPlainTextEdit*>(w))
            add(p->toPlainText(), where);
        if (auto* p = qobject_cast<QTextEdit*>(w))
            add(p->toPlainText(), where);
    }
};

QString trimmedBlanks(QString s)
{
    while (s.startsWith(' '))
        s.remove(0, 1);
    while (s.endsWith(' '))
        s.chop(1);
    return s;
}

}  // namespace

TEST(English, EveryTextOfTheProgramHasItsEnglish)
{
    kerbon::test::qtApp();
    const TextTable table = shippedTexts();
    std::string missing;
    for (const FoundText& f : collectProgramTexts(sourceRoot())) {
        const Entry* e = table.find(f.german);
        if (!e || e->cells[1].empty())
            missing += "    \"" + escapeText(f.german) + "\"  (" + f.origin + ")\n";
    }
    EXPECT_TRUE(missing.empty()) << "These texts of the program have no English in "
                                    "translations/texts.txt yet:\n"
                                 << missing << whatToDo();
    EXPECT_TRUE(readBytes(sourceRoot() + "data/translate.dat") == translateFileBytes(table))
        << "data/translate.dat was not made from the present translations/texts.txt."
        << whatToDo();
}

TEST(English, StartInEnglishLeavesNoGermanInAnyWindow)
{
    kerbon::test::qtApp();
    std::set<QString> english;
    for (const Entry& e : shippedTexts().entries)
        english.insert(QString::fromStdString(e.cells[1]));

    kerbon::test::TempDir dir;
    std::filesystem::create_directories(dir.dir / "prog");
    kerbon::test::writeBytes(dir.path("prog/options.dat"), std::string("\x01\0\0\0", 4));
    kerbon::test::ScriptedUi ui;
    TMainForm::Setup s;
    s.progpath = dir.path("prog") + "/";
    s.configpath = dir.path("config") + "/";
    s.datadirs = {sourceRoot() + "data/"};
    s.ui = &ui;
    {
        TMainForm main(s);
        main.show();
        EXPECT_EQ(main.windowTitle(), QString("Tarvel Kerbon 1.0 - [untitled.dxf]"));
        EXPECT_TRUE(ui.shown.empty());
        // The names the drawing brings along (layers, line types, layouts) are its own.
        for (QWidget* w : std::initializer_list<QWidget*>{main.LayerCombo, main.LineCombo})
            qobject_cast<QComboBox*>(w)->clear();

        VisibleTexts seen;
        seen.gather(&main);
        std::string german;
        for (const auto& [shown, where] : seen.texts) {
            const QString text = trimmedBlanks(shown);  // blanks around a text stay in place
            const bool letters =
                std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetter(); });
            if (letters && !english.count(text) && shown != main.windowTitle())
                german += "    \"" + text.toStdString() + "\"  (" + where.toStdString() + ")\n";
        }
        EXPECT_TRUE(german.empty())
            << "After a start in English these texts are not English:\n"
            << german
            << "A text listed in translations/texts.txt is not passed through the window "
               "translation (TranslateComponents) or through translate(); any other has no "
               "English yet."
            << whatToDo();
    }
    // The table the program met is the shipped one: start-up added no row and wrote nothing.
    EXPECT_FALSE(std::filesystem::exists(dir.path("prog/translate.dat")));
    translations().language = 0;
    translations().InitTranslation("", "");
}
