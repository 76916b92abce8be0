// The main window as a user meets it: start-up caption and menus, a file from the command
// line, saving, the question on close, the language, and the view following wheel and
// scroll bars. Runs on the offscreen platform with a scripted Ui and temporary directories.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QScrollBar>
#include <QTabBar>
#include <QTest>
#include <QWheelEvent>
#include <filesystem>

#include "gui/DrawArea.h"
#include "gui/MainUnit.h"
#include "gui/PolyGonFUnit.h"
#include "i18n/translateunit.h"
#include "support/QtApp.h"
#include "support/ScriptedUi.h"
#include "support/TempFiles.h"

using namespace kerbon;
using kerbon::test::ScriptedUi;
using kerbon::test::TempDir;

namespace {

std::string dataFile(const std::string& name)
{
    const char* d = std::getenv("KERBON_TEST_DATA");
    return std::string(d ? d : "data/") + name;
}

// A main window on temporary program and configuration directories.
struct Window {
    TempDir dir;
    ScriptedUi ui;
    std::unique_ptr<TMainForm> form;

    explicit Window(const std::string& options = "")
    {
        kerbon::test::qtApp();
        std::filesystem::create_directories(dir.dir / "prog");
        if (!options.empty())
            kerbon::test::writeBytes(prog("options.dat"), options);
    }
    void start(QStringList args = {})
    {
        TMainForm::Setup s;
        s.progpath = (dir.dir / "prog").string() + "/";
        s.configpath = (dir.dir / "config").string() + "/";
        s.args = args;
        s.ui = &ui;
        form = std::make_unique<TMainForm>(s);
        form->resize(900, 700);
        form->show();
    }
    std::string prog(const std::string& name) const { return (dir.dir / "prog" / name).string(); }
    QString caption() const { return form->windowTitle(); }
};

QStringList menuTitles(QMainWindow& w)
{
    QStringList t;
    for (QAction* a : w.menuBar()->actions())
        t << a->text();
    return t;
}

}  // namespace

TEST(MainWindow, StartsWithAnUntitledTemplateDrawingAndEveryMenu)
{
    Window w;
    w.start();
    EXPECT_EQ(w.caption(), QString("Tarvel Kerbon 1.0 - [unbenannt.dxf]"));
    // No display name of the application is set: on X11 the toolkit would append it to
    // the caption. Unset, it follows the application name.
    const QString appName = QApplication::applicationName();
    QApplication::setApplicationName("Probe");
    EXPECT_EQ(QApplication::applicationDisplayName(), QString("Probe"));
    QApplication::setApplicationName(appName);
    EXPECT_TRUE(w.ui.shown.empty());
    EXPECT_EQ(menuTitles(*w.form), QStringList({"Datei", "Bearbeiten", "Ansicht", "Zeichnen",
                                                "Format", "Optionen", "Sprache"}));
    EXPECT_TRUE(w.form->Deutsch1->isChecked());
    EXPECT_FALSE(w.form->English1->isChecked());
    EXPECT_EQ(w.form->NeueDXFDatei1->text(), QString("Neue DXF Datei "));
    EXPECT_EQ(w.form->ZoomAll->toolTip(), QString("Zeige alles"));
    EXPECT_EQ(w.form->ffnen1->toolTip(), QString("Öffnen..."));
    EXPECT_EQ(w.form->NeueDXFDatei1->toolTip(), QString("Neue DXF Datei "));
    EXPECT_EQ(w.form->PolyLineBtn->toolTip(), QString("Polyline"));
    EXPECT_TRUE(w.form->LineBtn->isEnabled());
    EXPECT_EQ(w.form->TabControl1->count(), 2);
    EXPECT_EQ(w.form->TabControl1->tabText(0), QString("Model"));
    EXPECT_GE(w.form->LayerCombo->findText("0"), 0);
    EXPECT_EQ(w.form->ColorComboBox->count(), 11);
    EXPECT_EQ(w.form->LineWeightBox->itemText(22), QString("2.11 mm"));
    EXPECT_EQ(w.form->PolygonForm->windowTitle(), QString("Vieleck"));
    EXPECT_TRUE(w.form->keyedit->hasFocus() || !QApplication::focusWindow());
}

TEST(MainWindow, OpensTheFileGivenOnTheCommandLine)
{
    Window w;
    const std::string parts = w.dir.path("parts.dxf");
    std::filesystem::copy_file(dataFile("examples/parts.dxf"), parts);
    w.start({QString::fromStdString(parts)});
    EXPECT_EQ(w.caption(), QString("Tarvel Kerbon 1.0 - [parts.dxf]"));
    EXPECT_GE(w.form->LayerCombo->findText("Bohrungen"), 0);
    EXPECT_GT(w.form->editor->model.anzpoly, 10);
    EXPECT_TRUE(w.ui.shown.empty());

    // Saving without an edit writes the same bytes back.
    const std::string copy = w.dir.path("kopie.dxf");
    w.ui.files.push_back(copy);
    w.form->Speichernunter1->trigger();
    EXPECT_EQ(w.caption(), QString("Tarvel Kerbon 1.0 - [kopie.dxf]"));
    EXPECT_EQ(kerbon::test::readBytes(copy), kerbon::test::readBytes(parts));
}

TEST(MainWindow, MissingCommandLineFileKeepsTheTemplateDrawing)
{
    Window w;
    const std::string missing = w.dir.path("gibtsnicht.dxf");
    w.start({QString::fromStdString(missing)});
    ASSERT_EQ(w.ui.shown.size(), 1u);
    EXPECT_EQ(w.ui.shown[0].text, "Konnte folgende Datei nicht öffnen: " + missing);
    EXPECT_EQ(w.caption(), QString("Tarvel Kerbon 1.0 - [unbenannt.dxf]"));
}

TEST(MainWindow, ClosingWithChangesAsksAndCancelKeepsRunning)
{
    Window w;
    w.start();
    w.form->English1->trigger();  // language for the next start; the info box is shown
    ASSERT_EQ(w.ui.shown.size(), 1u);
    w.form->editor->SetChanged();  // messages follow the new language at once
    EXPECT_EQ(w.caption(), QString("Tarvel Kerbon 1.0 - [untitled.dxf*]"));

    w.ui.answers.push_back(MsgResult::Cancel);
    EXPECT_FALSE(w.form->close());
    EXPECT_TRUE(w.form->isVisible());
    ASSERT_EQ(w.ui.shown.size(), 2u);
    EXPECT_EQ(w.ui.shown[1].buttons, MsgButtons::YesNoCancel);
    EXPECT_FALSE(std::filesystem::exists(w.prog("options.dat")));

    w.ui.answers.push_back(MsgResult::No);
    EXPECT_TRUE(w.form->close());
    EXPECT_EQ(kerbon::test::readBytes(w.prog("options.dat")), std::string("\x01\0\0\0", 4));
    EXPECT_TRUE(std::filesystem::exists(w.dir.dir / "config" / "kerbon.ini"));  // placement
}

TEST(MainWindow, LanguageOneTranslatesTheWindowsFromTranslateDat)
{
    Window w(std::string("\x01\0\0\0", 4));
    std::string before;
    {
        TranslationTable t;  // a table with a few English cells
        t.InitTranslation(w.prog(""), "");
        const std::pair<const char*, const char*> rows[] = {
            {"Datei", "File"}, {"Öffnen...", "Open..."}, {"Vergrößern", "Zoom in"},
            {"Vieleck", "Polygon"}, {"Rot", "Red"}, {"Ja", "Yes"}};
        for (const auto& [de, en] : rows) {
            t.TranslateText(de);
            for (uint32_t r = 0; r < t.rowCount(); ++r)
                if (t.cellText(r, 0) == de)
                    t.SetCellText(r, 1, en);
        }
        ASSERT_TRUE(t.SaveTranslateFile());
        before = kerbon::test::readBytes(w.prog("translate.dat"));
    }
    w.start();
    EXPECT_TRUE(w.form->English1->isChecked());
    EXPECT_EQ(menuTitles(*w.form).first(), QString("File"));
    EXPECT_EQ(w.form->ffnen1->text(), QString("Open..."));
    EXPECT_EQ(w.form->ffnen1->toolTip(), QString("Open..."));
    EXPECT_EQ(w.form->ZoomInBtn->toolTip(), QString("Zoom in"));
    EXPECT_EQ(w.form->PolygonForm->windowTitle(), QString("Polygon"));
    EXPECT_EQ(w.form->ColorComboBox->itemText(2), QString("Red"));
    EXPECT_EQ(w.form->ColorComboBox->currentIndex(), 0);
    EXPECT_EQ(w.form->Vieleck1->text(), QString("Polygon"));
    // No English in the program directory's table: the shipped table fills it in.
    EXPECT_EQ(w.form->Speichern1->text(), QString("Save"));

    // The shipped table knows every text of the windows: start-up met none for the first
    // time and left the program directory's table as it was.
    EXPECT_EQ(kerbon::test::readBytes(w.prog("translate.dat")), before);
}

TEST(MainWindow, ViewFollowsWheelScrollBarsAndEscape)
{
    Window w;
    w.start();
    TMainForm& f = *w.form;
    view::ViewState& v = f.editor->view;
    ASSERT_EQ(v.W, f.PaintBox1->width());
    const double z = v.zoomedvalue;
    const QPointF at(100, 80);
    QWheelEvent up(at, f.PaintBox1->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                   Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(f.PaintBox1, &up);
    EXPECT_DOUBLE_EQ(v.zoomedvalue, z * 1.2);
    EXPECT_EQ(f.HorzScrollbar->value(), v.scrollx);
    EXPECT_EQ(f.VertScrollbar->value(), v.scrolly);

    // Over the rest of the window the wheel acts alike; Shift scrolls sideways.
    const int h0 = v.scrollx;
    QWheelEvent side(QPointF(5, 5), f.mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120),
                     Qt::NoButton, Qt::ShiftModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&f, &side);
    EXPECT_EQ(v.scrollx, h0 + 2000);
    EXPECT_EQ(f.HorzScrollbar->value(), v.scrollx);

    f.HorzScrollbar->setValue(v.scrollx + 2000);  // the user drags the scroll bar
    EXPECT_EQ(v.scrollx, f.HorzScrollbar->value());
    EXPECT_TRUE(v.slot0.zoomsetted || !f.editor->model.layouts.empty());

    f.HandBtn->trigger();
    EXPECT_TRUE(v.inhand);
    EXPECT_TRUE(f.HandBtn->isChecked());
    QTest::keyClick(f.keyedit, Qt::Key_Escape);
    EXPECT_FALSE(v.inhand);
    EXPECT_FALSE(f.HandBtn->isChecked());
}

TEST(MainWindow, UndoButtonAndMenuFollowTheUndoSteps)
{
    Window w;
    w.start();
    Editor& ed = *w.form->editor;
    EXPECT_FALSE(w.form->UndoBtn->isEnabled());
    const std::vector<std::string> original = ed.dxf.lines.strings();
    ASSERT_EQ(ed.AddLine(0, 0, 0, 10, 10, 0), WriteStatus::Ok);
    EXPECT_TRUE(w.form->UndoBtn->isEnabled());
    EXPECT_TRUE(w.form->Rckgngig1->isEnabled());
    EXPECT_EQ(w.caption(), QString("Tarvel Kerbon 1.0 - [unbenannt.dxf*]"));
    w.form->UndoBtn->trigger();
    EXPECT_EQ(ed.dxf.lines, original);
    EXPECT_FALSE(w.form->UndoBtn->isEnabled());
    EXPECT_FALSE(w.form->Rckgngig1->isEnabled());
}
