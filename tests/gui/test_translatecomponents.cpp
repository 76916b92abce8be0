// The window translation over a small Qt widget tree: which texts of which widgets pass
// through the lookup, in which order, and what is left alone.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>

#include "gui/TranslateComponents.h"
#include "support/QtApp.h"

TEST(TranslateComponents, TranslatesEachKindOfTextOnceAndKeepsTheRest)
{
    kerbon::test::qtApp();
    QMainWindow win;
    win.setWindowTitle("Fenster");
    auto* box = new QGroupBox("Gruppe", &win);
    box->setToolTip("Gruppenhinweis");
    auto* label = new QLabel("Name:", box);
    auto* check = new QCheckBox("Haken", box);
    check->setToolTip("Hakenhinweis");
    auto* button = new QPushButton("Knopf", box);
    auto* spin = new QDoubleSpinBox(box);
    spin->setToolTip("Zahl");
    auto* combo = new QComboBox(box);
    combo->addItems({"Rot", "Gelb"});
    combo->setToolTip("Farbe");
    combo->setCurrentIndex(1);
    auto* memo = new QPlainTextEdit("Zeile 1\nZeile 2", box);
    auto* edit = new QLineEdit("Eingabe", box);
    auto* plain = new QAction("Öffnen...", &win);        // hint follows the caption
    auto* hinted = new QAction("Drucken...", &win);
    hinted->setToolTip("Seite drucken");                  // a hint of its own
    auto* dialog = new QDialog(&win);
    dialog->setWindowTitle("Dialog");

    QStringList asked;
    TranslateComponents(&win, [&](const QString& s) {
        asked << s;
        return s.isEmpty() ? s : "<" + s + ">";
    });

    EXPECT_EQ(win.windowTitle(), QString("<Fenster>"));
    EXPECT_EQ(box->title(), QString("<Gruppe>"));
    EXPECT_EQ(box->toolTip(), QString("<Gruppenhinweis>"));
    EXPECT_EQ(label->text(), QString("<Name:>"));
    EXPECT_EQ(check->text(), QString("<Haken>"));
    EXPECT_EQ(check->toolTip(), QString("<Hakenhinweis>"));
    EXPECT_EQ(button->text(), QString("<Knopf>"));
    EXPECT_EQ(spin->toolTip(), QString("<Zahl>"));
    EXPECT_EQ(spin->value(), 0.0);
    EXPECT_EQ(combo->itemText(0), QString("<Rot>"));
    EXPECT_EQ(combo->currentIndex(), 1);
    EXPECT_EQ(combo->toolTip(), QString("<Farbe>"));
    EXPECT_EQ(memo->toPlainText(), QString("<Zeile 1>\n<Zeile 2>"));
    EXPECT_EQ(edit->text(), QString("<Eingabe>"));
    EXPECT_EQ(plain->text(), QString("<Öffnen...>"));
    EXPECT_EQ(plain->toolTip(), QString("<Öffnen>"));  // Qt's own hint of the new caption
    EXPECT_EQ(hinted->toolTip(), QString("<Seite drucken>"));
    EXPECT_EQ(dialog->windowTitle(), QString("<Dialog>"));
    EXPECT_EQ(asked.count("Öffnen..."), 1);  // the plain action's hint is not looked up
    EXPECT_EQ(asked.count("Fenster"), 1);
    EXPECT_FALSE(asked.contains("0.00"));   // the spin box's own line edit is left alone

    // Breadth first, the owned components of one owner from the last to the first.
    EXPECT_LT(asked.indexOf("Dialog"), asked.indexOf("Drucken..."));
    EXPECT_LT(asked.indexOf("Drucken..."), asked.indexOf("Öffnen..."));
    EXPECT_LT(asked.indexOf("Öffnen..."), asked.indexOf("Gruppe"));
    EXPECT_LT(asked.indexOf("Gruppe"), asked.indexOf("Eingabe"));
    EXPECT_LT(asked.indexOf("Eingabe"), asked.indexOf("Name:"));
}
